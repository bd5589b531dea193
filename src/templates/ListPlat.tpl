# Lista platilor din registrul de casa pe o perioada: randul 8 (marcat "#DBF" in H8) se
# copiaza pentru fiecare plata; totalul din randul 9 creste odata cu randurile.
sheet Lista

font titlu Arial 14 bold
font antet Arial 10 bold
font text Arial 10
format lei "#,##0"
format data "dd.mm.yyyy"

style titlu font=titlu align=center valign=center
style sub font=text align=center
style antet font=antet align=center valign=center wrap border=box
style nr font=text align=center border=box
style data font=text format=data align=center border=box
style text font=text align=left border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box
style semn font=antet align=center

width A 7
width B 13
width C 46
width D 14
width H 6
height 3 24
height 7 28

merge A3:D3
merge A4:D4
cell A3 titlu "LISTA PLATILOR"
merge A5:D5
cell A4 sub "efectuate in perioada"
cell A5 sub "#PERIOADA"
cell A7 antet "Nr. crt."
cell B7 antet "Data"
cell C7 antet "Document justificativ"
cell D7 antet "Suma"
cell A8 nr "%NRCRT"
cell B8 data "#DATAI"
cell C8 text "#DOCJUS"
cell D8 bani "#PLATIT"
cell H8 - "#DBF"
merge A9:C9
cell A9 eticheta "TOTAL PLATI :"
cell D9 total =SUM(D7:D8)
cell B12 semn "Casier,"
cell C12 semn "Contabil,"
