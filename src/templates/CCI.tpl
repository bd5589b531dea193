# Centralizatorul conturilor pe incasator: randul 6 (marcat "#DBF" in H6) se copiaza; fiecare
# cont (grupa, cod, tip persoana) are un rand pe incasator si randul "Total cont".
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

width A 36
width B 22
width C 7
width D 26
width E 13
width H 6
height 5 26

cell A1 stanga "#PRIMARIA"
merge A2:E2
cell A2 titlu "CENTRALIZATOR CONTURI PE INCASATOR"
merge A3:E3
cell A3 sub "#perioada"
cell A5 antet "Denumire cont"
cell B5 antet "Cod clasificatie"
cell C5 antet "Tip pers."
cell D5 antet "Incasator"
cell E5 antet "Total"
cell A6 text "#GRUPA"
cell B6 text "#CODCLAS"
cell C6 nr "#TIPF"
cell D6 text "#INCANUME"
cell E6 bani "#TOTAL"
cell H6 - "#DBF"
merge A7:D7
cell A7 eticheta "TOTAL GENERAL :"
cell E7 total "#TOTG"
