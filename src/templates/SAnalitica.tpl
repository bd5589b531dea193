# Situatia analitica ROL - Cont: un rand pe rol si cont (randul 5, marcat "#DBF" in L5) cu ramasita,
# accesoriile, debitul curent, incasarile si soldul; totalurile din randul 6.
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

width A 8
width B 28
width C 14
width D 16
width E 26
width F 28
width G:K 11

cell E1 titlu "Situatia analitica ROL - Cont"
cell A3 antet "ROL"
cell A4 antet ""
cell B3 antet "Nume"
cell B4 antet ""
cell C3 antet "CNP"
cell C4 antet ""
cell D3 antet "Sat"
cell D4 antet ""
cell E3 antet "Adresa"
cell E4 antet ""
cell F3 antet "Cont"
cell F4 antet ""
merge G3:H3
cell G3 antet "Ramasita 2014"
cell G4 antet "Debit"
cell H4 antet "Accesorii"
cell I3 antet "Debite curente"
cell I4 antet ""
cell J3 antet "INCASARI 2015"
cell J4 antet ""
cell K3 antet "SOLD final"
cell K4 antet ""
cell A5 text "#ROL"
cell B5 text "#NumeP"
cell C5 text "#CNP"
cell D5 text "#SAT"
cell E5 text "#Adresa"
cell F5 text "#GRUPA"
cell G5 bani "#RESTS"
cell H5 bani "#RESTPENS"
cell I5 bani "#CURENTS"
cell J5 bani "#INCASS"
cell K5 bani "#SOLDS"
cell L5 - "#DBF"
merge A6:F6
cell A6 eticheta "TOTAL"
cell G6 total =SUM(G4:G5)
cell H6 total =SUM(H4:H5)
cell I6 total =SUM(I4:I5)
cell J6 total =SUM(J4:J5)
cell K6 total =SUM(K4:K5)
