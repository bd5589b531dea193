# Registrul de casa al unei zile: randul 8 (marcat "#DBF" in H8) se copiaza pentru fiecare
# operatiune; totalurile, soldul anterior si soldul final se calculeaza prin formule.
sheet Registru

font titlu Arial 14 bold
font antet Arial 10 bold
font text Arial 10
format lei "#,##0"

style titlu font=titlu align=center valign=center
style sub font=text align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style nr font=text align=center border=box
style text font=text align=left border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box
style semn font=antet align=center
style nume font=text align=center

width A 7
width B 42
width C 20
width D:E 14
width H 6
height 3 24
height 7 28

merge A1:C1
cell A1 stanga "#PRIMARIA"
merge A3:E3
cell A3 titlu "REGISTRU DE CASA"
merge A4:E4
cell A4 sub "#DATA"
cell A5 stanga "Casier:"
cell B5 stanga "#CASIER"
cell A7 antet "Nr. crt."
cell B7 antet "Document justificativ"
cell C7 antet "Incasator"
cell D7 antet "Incasari"
cell E7 antet "Plati"
cell A8 nr "%NRCRT"
cell B8 text "#DOCJUS"
cell C8 text "#INCANUME"
cell D8 bani "#INCASAT"
cell E8 bani "#PLATIT"
cell H8 - "#DBF"
merge A9:C9
cell A9 eticheta "TOTAL RULAJ :"
cell D9 total =SUM(D7:D8)
cell E9 total =SUM(E7:E8)
merge A10:C10
cell A10 eticheta "SOLD ANTERIOR :"
cell D10 total "#SOLDINI"
merge A11:C11
cell A11 eticheta "SOLD FINAL :"
cell D11 total =D10+D9-E9
cell B14 semn "Casier,"
cell D14 semn "Contabil,"
cell B15 nume "#CASIER"
cell D15 nume "#CONTABIL"
