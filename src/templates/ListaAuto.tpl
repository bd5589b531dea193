# Lista auto: un rand pe vehicul inregistrat (randul 6, marcat "#DBF" in K6), cu titularul rolului.
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
width B 12
width C 8
width D 9
width E 28
width F 14
width G 16
width H 28
width I 18
width J 10

cell E1 titlu "LISTA AUTO"
cell A4 antet "Nr."
cell A5 antet "crt."
cell B4 antet "Numar"
cell B5 antet "dosar"
cell C4 antet "ROL"
cell C5 antet ""
cell D4 antet "Tip"
cell D5 antet "persoana"
cell E4 antet "Titular"
cell E5 antet ""
cell F4 antet "CNP"
cell F5 antet ""
cell G4 antet "Localitatea"
cell G5 antet ""
cell H4 antet "Adresa"
cell H5 antet ""
cell I4 antet "Denumire"
cell I5 antet "masina"
cell J4 antet "Capacitate"
cell J5 antet "cmc"
cell A6 nr "%NRCRT"
cell B6 text "#NRDOS"
cell C6 text "#ROL"
cell D6 text "#TIP"
cell E6 text "#NUMEP"
cell F6 text "#CNP"
cell G6 text "#SATUL"
cell H6 text "#ADRESA"
cell I6 text "#MARCA"
cell J6 bani "#CAPACIT"
cell K6 - "#DBF"
