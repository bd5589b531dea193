# Borderourile cumulate de debite / scaderi pe o perioada: randul 8 (marcat "#DBF" in I8) se
# copiaza pentru fiecare borderou, zi si rol. Perechea "Debitat" / "Scazut" din F-G se copiaza
# la coloana H pentru fiecare grupa dupa prima; totalurile din randul 9 cresc odata cu randurile.
sheet Borderou0

font titlu Arial 12 bold
font antet Arial 9 bold
font text Arial 9
format lei "#,##0"
format data "dd.mm.yyyy"

style titlu font=titlu align=left
style stanga font=antet align=left
style sub font=text align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style nr font=text align=center border=box
style data font=text format=data align=center border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box

width A 8
width B 28
width C 28
width D 7
width E 11
width F:G 11
width H 12
width I 6
height 6 24

cell B1 stanga "#PRIMARIA"
cell B3 titlu "BORDEROU CUMULAT DE DEBITE / SCADERI"
cell B4 sub "#PERIOADA"
cell A6 antet "NR"
cell B6 antet
cell C6 antet
merge D6:E6
cell D6 antet "      Borderou BD/BS"
merge F6:G6
cell F6 antet "Cont"
cell H6 antet "TOTAL"
cell A7 antet "ROL"
cell B7 antet "NUMELE SI PRENUMELE"
cell C7 antet "Adresa"
cell D7 antet "Nr."
cell E7 antet "Data"
cell F7 antet "Debitat"
cell G7 antet "Scazut"
cell H7 antet
cell A8 nr "#ROL"
cell B8 text "#NUMEP"
cell C8 text "#ADRESA"
cell D8 nr "#NR"
cell E8 data "#DINDATA"
cell F8 bani "#BD"
cell G8 bani "#BS"
cell H8 bani "#TOTAL"
cell I8 - "#DBF"
cell E9 eticheta "TOTAL"
cell F9 total =SUM(F7:F8)
cell G9 total =SUM(G7:G8)
cell H9 total =SUM(H7:H8)
