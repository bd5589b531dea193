# Lista cu ramasite / plusuri: un rand pe rol (randul 9, marcat "#DBF" in P9). Perechile
# (Sold, Major.) ale celor patru impozite, apoi coloana de rezerva "#" (N), copiata la
# coloana 14 pentru fiecare alta creanta; TOTAL (O) aduna coloanele F:N ale randului.
# Randul 10 aduna fiecare coloana peste randurile completate.
sheet Ramasite_Plusuri

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format lei "#,##0"

style titlu font=titlu align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style nr font=text align=center border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box
style gol font=antet border=box

width A 7
width B 26
width C 5
width D 24
width E 14
width F:N 9
width O 10
width P 10
height 7 36

cell A1 stanga "#PRIMARIA"
cell A2 stanga "#LOCALIT"
cell D4 titlu "#LISTARAMASITE"
cell D5 titlu "#ladata"
cell A7 antet "ROL"
cell B7 antet "TITULAR"
cell C7 antet "TIP Pers"
cell D7 antet "ADRESA"
cell E7 antet "CNP"
merge F7:G7
cell F7 antet "Impozit pe teren extravilan"
cell G7 antet
merge H7:I7
cell H7 antet "Impozit pe teren intravilan"
cell I7 antet
merge J7:K7
cell J7 antet "Impozit pe cladiri"
cell K7 antet
merge L7:M7
cell L7 antet "Impozit pe mijloace de transport"
cell M7 antet
cell N7 antet "#"
cell O7 antet "TOTAL"
cell A8 antet
cell B8 antet
cell C8 antet
cell D8 antet
cell E8 antet
cell F8 antet "Sold"
cell G8 antet "Major."
cell H8 antet "Sold"
cell I8 antet "Major."
cell J8 antet "Sold"
cell K8 antet "Major."
cell L8 antet "Sold"
cell M8 antet "Major."
cell N8 antet "Sold"
cell O8 antet
cell A9 nr "#ROL"
cell B9 text "#NUMEP"
cell C9 nr "#TIPP"
cell D9 text "#ADRESA"
cell E9 nr "#CNP"
cell F9 bani "#S1"
cell G9 bani "#M1"
cell H9 bani "#S2"
cell I9 bani "#M2"
cell J9 bani "#S3"
cell K9 bani "#M3"
cell L9 bani "#S4"
cell M9 bani "#M4"
cell N9 bani
cell O9 total =SUM(F9:N9)
cell P9 - "#DBF"
merge A10:E10
cell A10 eticheta "TOTAL"
cell F10 total =SUM(F8:F9)
cell G10 total =SUM(G8:G9)
cell H10 total =SUM(H8:H9)
cell I10 total =SUM(I8:I9)
cell J10 total =SUM(J8:J9)
cell K10 total =SUM(K8:K9)
cell L10 total =SUM(L8:L9)
cell M10 total =SUM(M8:M9)
cell N10 total =SUM(N8:N9)
cell O10 total =SUM(O8:O9)
