# Lista amenzilor sau taxelor unei grupe: un rand pe linie stabilita (randul 6, marcat "#DBF" in
# M6) cu valoarea stabilita, soldul si "X" la cele achitate in 48 de ore; totalurile din randul 7.
sheet Lista1

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
width B 28
width C 14
width D 16
width E 26
width F 7
width G 24
width H 7
width I 10
width J:K 10
width L 8

cell E1 titlu "#LISTA"
cell E2 stanga "#DATA"
cell A4 antet "Nr."
cell A5 antet "crt."
cell B4 antet "Titular ROL"
cell B5 antet ""
cell C4 antet "CNP"
cell C5 antet ""
cell D4 antet "Localitatea"
cell D5 antet ""
cell E4 antet "Adresa"
cell E5 antet ""
cell F4 antet "Nr."
cell F5 antet "ROL"
merge G3:I3
cell G3 antet "Document justificativ"
cell G4 antet "Denumire/Detalii"
cell G5 antet ""
cell H4 antet "Nr"
cell H5 antet ""
cell I4 antet "Din"
cell I5 antet "data"
cell J4 antet "Valoarea"
cell J5 antet "- lei -"
cell K4 antet "Sold"
cell K5 antet "- lei -"
cell L4 antet "Achitat"
cell L5 antet "in 48 h"
cell A6 nr "%NRCRT"
cell B6 text "#NUMEP"
cell C6 text "#CNP"
cell D6 text "#SATUL"
cell E6 text "#ADRESA"
cell F6 text "#ROL"
cell G6 text "#DOCJUS"
cell H6 nr "#NR"
cell I6 data "#DINDATA"
cell J6 bani "#VAL1"
cell K6 bani "#SOLD1"
cell L6 nr "#A48"
cell M6 - "#DBF"
merge A7:I7
cell A7 eticheta "TOTAL"
cell J7 total =SUM(J5:J6)
cell K7 total =SUM(K5:K6)
