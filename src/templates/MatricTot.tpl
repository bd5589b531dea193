# Registrul matricol cumulat: un rand pe rol (randul 8, marcat "#DBF" in AF8) cu locuintele si
# anexele pe material, terenul pe categorii si impozitul pe fiecare fel; coloana AE aduna
# impozitele. Totalurile din randul 9 (fara coloanele anilor) cresc odata cu randurile.
sheet Matricola

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format sup "0.00##"
format an "0"
format lei "#,##0"

style titlu font=titlu align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style nr font=text align=center border=box
style sup font=text format=sup align=right border=box
style an font=text format=an align=center border=box
style bani font=text format=lei align=right border=box
style totalsup font=antet format=sup align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box
style gol font=antet border=box

width A 5
width B 7
width C 26
width D:AE 9
width AF 6
height 6 48

cell B1 stanga "#Localitatea"
cell C3 titlu "REGISTRUL MATRICOL"
cell E3 titlu "#ANUL"
merge D5:G5
cell D5 antet "LOCUINTE"
merge H5:L5
cell H5 antet "CLADIRI ANEXE"
merge M5:T5
cell M5 antet "TEREN INTRAVILAN"
merge U5:AC5
cell U5 antet "TEREN EXTRAVILAN"
cell AD5 antet "Mijloace transport"
cell AE5 antet "TOTAL GENERAL"
cell A6 antet "Nr. crt."
cell B6 antet "ROL"
cell C6 antet "Numele si Prenumele"
cell D6 antet "Beton, caramida"
cell E6 antet "anul"
cell F6 antet "Lemn, chirpici"
cell G6 antet "anul"
cell H6 antet "Beton, caramida"
cell I6 antet "anul"
cell J6 antet "Lemn, chirpici"
cell K6 antet "anul"
cell L6 antet "TOTAL impozit"
cell M6 antet "Curti-constructii"
cell N6 antet "Teren arabil"
cell O6 antet "Pasune, faneata"
cell P6 antet "Vie"
cell Q6 antet "Livada"
cell R6 antet "Padure"
cell S6 antet "Teren cu ape"
cell T6 antet "TOTAL impozit"
cell U6 antet "Teren arabil"
cell V6 antet "Pasuni - fanete"
cell W6 antet "Vie pe rod"
cell X6 antet "Livada pe rod"
cell Y6 antet "Fond forestier sau alt teren"
cell Z6 antet "Teren de constructii"
cell AA6 antet "Teren cu apa, fara amenajari piscicole"
cell AB6 antet "Teren cu amenajari piscicole"
cell AC6 antet "TOTAL impozit"
cell AD6 antet "TOTAL impozit"
cell AE6 antet "TOTAL impozit"
cell A7 antet
cell B7 antet
cell C7 antet
cell D7 antet "mp"
cell E7 antet
cell F7 antet "mp"
cell G7 antet
cell H7 antet "mp"
cell I7 antet
cell J7 antet "mp"
cell K7 antet
cell L7 antet "lei"
cell M7 antet "mp"
cell N7 antet "ha"
cell O7 antet "ha"
cell P7 antet "ha"
cell Q7 antet "ha"
cell R7 antet "ha"
cell S7 antet "ha"
cell T7 antet "lei"
cell U7 antet "ha"
cell V7 antet "ha"
cell W7 antet "ha"
cell X7 antet "ha"
cell Y7 antet "ha"
cell Z7 antet "ha"
cell AA7 antet "ha"
cell AB7 antet "ha"
cell AC7 antet "lei"
cell AD7 antet "lei"
cell AE7 antet "lei"
cell A8 nr "%NRCRT"
cell B8 text "#ROL"
cell C8 text "#NUMEP"
cell D8 sup "#A1"
cell E8 an "#A2"
cell F8 sup "#A3"
cell G8 an "#A4"
cell H8 sup "#A5"
cell I8 an "#A6"
cell J8 sup "#A7"
cell K8 an "#A8"
cell L8 bani "#A9"
cell M8 sup "#A10"
cell N8 sup "#A11"
cell O8 sup "#A12"
cell P8 sup "#A13"
cell Q8 sup "#A14"
cell R8 sup "#A15"
cell S8 sup "#A16"
cell T8 bani "#A17"
cell U8 sup "#A18"
cell V8 sup "#A19"
cell W8 sup "#A20"
cell X8 sup "#A21"
cell Y8 sup "#A22"
cell Z8 sup "#A23"
cell AA8 sup "#A24"
cell AB8 sup "#A25"
cell AC8 bani "#A26"
cell AD8 bani "#A27"
cell AE8 bani =L8+T8+AC8+AD8
cell AF8 - "#DBF"
merge A9:C9
cell A9 eticheta "TOTAL"
cell D9 totalsup =SUM(D7:D8)
cell E9 gol
cell F9 totalsup =SUM(F7:F8)
cell G9 gol
cell H9 totalsup =SUM(H7:H8)
cell I9 gol
cell J9 totalsup =SUM(J7:J8)
cell K9 gol
cell L9 total =SUM(L7:L8)
cell M9 totalsup =SUM(M7:M8)
cell N9 totalsup =SUM(N7:N8)
cell O9 totalsup =SUM(O7:O8)
cell P9 totalsup =SUM(P7:P8)
cell Q9 totalsup =SUM(Q7:Q8)
cell R9 totalsup =SUM(R7:R8)
cell S9 totalsup =SUM(S7:S8)
cell T9 total =SUM(T7:T8)
cell U9 totalsup =SUM(U7:U8)
cell V9 totalsup =SUM(V7:V8)
cell W9 totalsup =SUM(W7:W8)
cell X9 totalsup =SUM(X7:X8)
cell Y9 totalsup =SUM(Y7:Y8)
cell Z9 totalsup =SUM(Z7:Z8)
cell AA9 totalsup =SUM(AA7:AA8)
cell AB9 totalsup =SUM(AB7:AB8)
cell AC9 total =SUM(AC7:AC8)
cell AD9 total =SUM(AD7:AD8)
cell AE9 total =SUM(AE7:AE8)
