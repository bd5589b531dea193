# Matricola PSI / Paza: un rand pe rol (randul 6, marcat "#DBF" in H6) cu taxa anului si ramasita
# fiecareia; totalurile din randul 7.
sheet Paza-PSI

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format lei "#,##0"
format ha "0.00##"
format data "dd.mm.yyyy"

style titlu font=titlu align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style nr font=text align=center border=box
style bani font=text format=lei align=right border=box
style ha font=text format=ha align=right border=box
style data font=text format=data align=center border=box
style total font=antet format=lei align=right border=box
style totalha font=antet format=ha align=right border=box
style eticheta font=antet align=right border=box

width A 5
width B 20
width C 8
width D:G 11

cell C1 titlu "#TITLU"
cell C2 stanga "la 01.ianuarie"
cell A4 antet "Nr."
cell A5 antet "crt."
cell B4 antet "Localitatea"
cell B5 antet ""
cell C4 antet "ROL"
cell C5 antet ""
merge D4:E4
cell D4 antet "Paza"
merge F4:G4
cell F4 antet "PSI"
cell D5 antet "Curent"
cell E5 antet "Ramasita"
cell F5 antet "Curent"
cell G5 antet "Ramasita"
cell A6 nr "%NRCRT"
cell B6 text "#SATUL"
cell C6 text "#ROL"
cell D6 bani "#PAZACURENT"
cell E6 bani "#PAZAREST"
cell F6 bani "#PSICURENT"
cell G6 bani "#PSIREST"
cell H6 - "#DBF"
merge A7:C7
cell A7 eticheta "TOTAL"
cell D7 total =SUM(D5:D6)
cell E7 total =SUM(E5:E6)
cell F7 total =SUM(F5:F6)
cell G7 total =SUM(G5:G6)
