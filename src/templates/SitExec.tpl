# Situatia executarilor silite: unitatea in A1 ("[UAT]"), titlul, perioada ("#PERIOADA"),
# capul de tabel in randurile 5 si 6, randul 7 (marcat "#DBF" in L7) se copiaza pentru
# fiecare somatie, in ordinea numelui. Coloanele instiintarii si popririi raman goale.
sheet SitExec

font titlu Arial 12 bold
font antet Arial 10 bold
font text Arial 10

format data "dd.mm.yyyy"

style stanga font=antet align=left
style titlu font=titlu align=center valign=center wrap
style sub font=text align=center
style antet font=antet align=center valign=center wrap border=box
style nr font=text align=center border=box
style text font=text align=left border=box
style data font=text format=data align=center border=box

width A 7
width B 34
width C 10
width D 9
width E 11
width F 9
width G 11
width H 9
width I 11
width J 30
width L 6
height 2 32
height 5 28

cell A1 stanga "[UAT]"
merge A2:J2
cell A2 titlu "Situatia privind masurile de executare silita luate in vederea creantelor"
merge A3:J3
cell A3 sub "#PERIOADA"
merge D5:E5
cell D5 antet "Instiintare de plata"
cell E5 antet
merge F5:G5
cell F5 antet "Somatie / Titlu executoriu"
cell G5 antet
merge H5:I5
cell H5 antet "Poprire"
cell I5 antet
cell A6 antet "Nr.crt"
cell B6 antet "Contribuabilul"
cell C6 antet "Nr.rol"
cell D6 antet "Nr."
cell E6 antet "Data"
cell F6 antet "Nr."
cell G6 antet "Data"
cell H6 antet "Nr."
cell I6 antet "Data"
cell J6 antet "Observatii"
cell A7 nr "%NRCRT"
cell B7 text "#NUMEP"
cell C7 text "#ROL"
cell D7 text
cell E7 text
cell F7 nr "#NR"
cell G7 data "#DINDATA"
cell H7 text
cell I7 text
cell J7 text "#OBS"
cell L7 - "#DBF"
