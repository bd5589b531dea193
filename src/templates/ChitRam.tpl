# Borderoul incasarilor din ramasite pe o perioada: randul 7 (marcat "#DBF" in N7) se copiaza
# pentru fiecare document si grupa; totalurile din randul 8 cresc odata cu randurile.
sheet Borderou

font titlu Arial 12 bold
font antet Arial 9 bold
font text Arial 9
format lei "#,##0"
format data "dd.mm.yyyy"

style titlu font=titlu align=center
style stanga font=antet align=left
style sub font=text align=center
style antet font=antet align=center valign=center wrap border=box
style nr font=text align=center border=box
style text font=text align=left border=box
style data font=text format=data align=center border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box

width A 6
width B 20
width C 6
width D 8
width E 12
width F 9
width G 11
width H 32
width I:J 11
width N 6
height 6 26

cell A1 stanga "#UAT"
merge A3:J3
cell A3 titlu "Borderou incasari ramasite"
merge A4:J4
cell A4 sub "#PERIOADA"
cell A6 antet "Nr. crt."
cell B6 antet "Localitatea"
cell C6 antet "Tip pers."
cell D6 antet "ROL"
cell E6 antet "Document"
cell F6 antet "Numar"
cell G6 antet "Din data"
cell H6 antet "Grupa"
cell I6 antet "Ramasita"
cell J6 antet "Majorari"
cell A7 nr "%NRCRT"
cell B7 text "#SATUL"
cell C7 nr "#TIPF"
cell D7 text "#ROL"
cell E7 text "#DOCJUS"
cell F7 nr "#NR"
cell G7 data "#DATAI"
cell H7 text "#GRUPA"
cell I7 bani "#RESTANTA"
cell J7 bani "#MAJOREST"
cell N7 - "#DBF"
merge A8:H8
cell A8 eticheta "TOTAL :"
cell I8 total =SUM(I6:I7)
cell J8 total =SUM(J6:J7)
