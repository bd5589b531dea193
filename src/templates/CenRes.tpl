# Centralizatorul debitelor restante: un rand pe grupa si tip de persoana (randul 7, marcat
# "#DBF" in H7); randul 8 aduna coloanele D:G peste randurile completate.
sheet CenRes

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format lei "#,##0"

style titlu font=titlu align=center
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style nr font=text align=center border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box

width A 5
width B 34
width C 10
width D:G 12

cell C2 titlu "CENTRALIZATOR DEBITE RESTANTE"
cell C3 titlu "#LADATA"
cell A5 antet "Nr"
cell B5 antet "Grupa"
cell C5 antet "Tip"
cell D5 antet "Ramasita"
cell E5 antet "Curent"
cell F5 antet "Avans"
cell G5 antet "Majorari"
cell A6 antet "crt"
cell B6 antet
cell C6 antet "persoana"
cell D6 antet
cell E6 antet
cell F6 antet
cell G6 antet
cell A7 nr "%NRCRT"
cell B7 text "#Grupa"
cell C7 nr "#Tip"
cell D7 bani "#RAM"
cell E7 bani "#CUR"
cell F7 bani "#AVANS"
cell G7 bani "#MAJ"
cell H7 - "#DBF"
cell C8 eticheta "TOTAL"
cell D8 total =SUM(D6:D7)
cell E8 total =SUM(E6:E7)
cell F8 total =SUM(F6:F7)
cell G8 total =SUM(G6:G7)
