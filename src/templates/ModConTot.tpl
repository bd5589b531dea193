# Centralizatorul total pe conturi: randul 7 (marcat "#DBF" in K7) se copiaza pentru fiecare
# cod de clasificatie; totalurile din randul 8 cresc odata cu randurile.
sheet Centralizator

font titlu Arial 12 bold
font antet Arial 9 bold
font text Arial 9
format lei "#,##0"

style titlu font=titlu align=center
style stanga font=antet align=left
style sub font=text align=center
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style nr font=text align=center border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box
style semn font=antet align=center

width A 6
width B 22
width C:H 12
width K 6
height 6 26

cell A1 stanga "#PRIMARIA"
merge A3:H3
cell A3 titlu "CENTRALIZATOR TOTAL CONTURI"
merge A4:H4
cell A4 sub "#PERIOADA"
cell A6 antet "Nr. crt."
cell B6 antet "Cod clasificatie"
cell C6 antet "Curent"
cell D6 antet "Bonificatie"
cell E6 antet "Majorari curente"
cell F6 antet "Ramasita"
cell G6 antet "Majorari ramasita"
cell H6 antet "Total"
cell A7 nr "%NRCRT"
cell B7 text "#CODCLAS"
cell C7 bani "#CURENT"
cell D7 bani "#REDUCERE"
cell E7 bani "#MAJOR"
cell F7 bani "#RESTANTA"
cell G7 bani "#MAJOREST"
cell H7 bani "#TOTAL"
cell K7 - "#DBF"
merge A8:B8
cell A8 eticheta "TOTAL :"
cell C8 total =SUM(C6:C7)
cell D8 total =SUM(D6:D7)
cell E8 total =SUM(E6:E7)
cell F8 total =SUM(F6:F7)
cell G8 total =SUM(G6:G7)
cell H8 total =SUM(H6:H7)
cell F11 semn "Contabil,"
cell F12 semn "#CONTABIL"
