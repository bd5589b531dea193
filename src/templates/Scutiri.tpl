# Lista persoanelor scutite: un rand pe rol cu o scutire (randul 6, marcat "#DBF" in J6), "X" sub
# fiecare scutire a lui.
sheet Foaie1

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
width B 18
width C 8
width D 30
width E:I 10

cell D1 titlu "LISTA PERSOANELOR SCUTITE"
cell D2 titlu "DE PLATA IMPOZITELOR"
cell A4 antet "Nr."
cell A5 antet "crt."
cell B4 antet "Localitatea"
cell B5 antet ""
cell C4 antet "ROL"
cell C5 antet ""
cell D4 antet "Titular"
cell D5 antet ""
cell E4 antet "Cladiri"
cell E5 antet ""
cell F4 antet "Curti"
cell F5 antet "constructii"
cell G4 antet "Auto"
cell G5 antet ""
cell H4 antet "Teren"
cell H5 antet "intravilan"
cell I4 antet "Teren"
cell I5 antet "extravilan"
cell A6 nr "%NRCRT"
cell B6 text "#SATUL"
cell C6 text "#ROL"
cell D6 text "#NUMEP"
cell E6 nr "#A1"
cell F6 nr "#A2"
cell G6 nr "#A4"
cell H6 nr "#A3"
cell I6 nr "#A5"
cell J6 - "#DBF"
