# Borderoul miscarilor de teren: un rand pe vanzare sau cumparare (randul 7, marcat "#DBF" in Q7),
# suprafata in ha in coloana categoriei, intravilan sau extravilan; totalurile din randul 8.
sheet Detalii

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
width B 16
width C 8
width D 24
width E 7
width F 10
width G:P 8

cell D1 titlu "Borderou miscari terenuri"
cell B2 stanga "#UAT"
cell D2 stanga "#perioada"
cell A5 antet "Nr."
cell A6 antet "crt."
cell B5 antet "Localitatea"
cell B6 antet ""
cell C5 antet "ROL"
cell C6 antet ""
cell D5 antet "Document"
cell D6 antet ""
cell E5 antet "Nr"
cell E6 antet ""
cell F5 antet "Din data"
cell F6 antet ""
merge G5:H5
cell G5 antet "Arabil"
merge I5:J5
cell I5 antet "Vii"
merge K5:L5
cell K5 antet "Pasune-Faneata (ha)"
merge M5:N5
cell M5 antet "Padure"
merge O5:P5
cell O5 antet "Livada"
cell G6 antet "Intrav"
cell H6 antet "Extrav."
cell I6 antet "Intrav"
cell J6 antet "Extrav."
cell K6 antet "Intrav"
cell L6 antet "Extrav."
cell M6 antet "Intrav"
cell N6 antet "Extrav."
cell O6 antet "Intrav"
cell P6 antet "Extrav."
cell A7 nr "%NRCRT"
cell B7 text "#LOCALIT"
cell C7 text "#ROL"
cell D7 text "#DOCJUS"
cell E7 nr "#NR"
cell F7 data "#DINDATA"
cell G7 ha "#I1"
cell H7 ha "#E1"
cell I7 ha "#I2"
cell J7 ha "#E2"
cell K7 ha "#I3"
cell L7 ha "#E3"
cell M7 ha "#I4"
cell N7 ha "#E4"
cell O7 ha "#I5"
cell P7 ha "#E5"
cell Q7 - "#DBF"
merge A8:F8
cell A8 eticheta "TOTAL"
cell G8 totalha =SUM(G6:G7)
cell H8 totalha =SUM(H6:H7)
cell I8 totalha =SUM(I6:I7)
cell J8 totalha =SUM(J6:J7)
cell K8 totalha =SUM(K6:K7)
cell L8 totalha =SUM(L6:L7)
cell M8 totalha =SUM(M6:M7)
cell N8 totalha =SUM(N6:N7)
cell O8 totalha =SUM(O6:O7)
cell P8 totalha =SUM(P6:P7)
