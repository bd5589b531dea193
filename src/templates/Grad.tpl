# Gradul de colectare a impozitelor: un rand pe grupa si tip de persoana (randul 7, marcat
# "#DBF" in I7); "Matricola la zi" = matricola + debite - scazaminte - bonificatii. Randul 8
# aduna coloanele D:H peste randurile completate.
sheet Grad

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
width D:H 12

cell D2 titlu "GRADUL DE COLECTARE IMPOZITE"
cell D3 titlu "#LADATA"
cell A5 antet "Nr"
cell B5 antet "Grupa"
cell C5 antet "Tip"
cell D5 antet "Matricola"
cell E5 antet "Boderou"
cell F5 antet "Borderou"
cell G5 antet "Bonificatii"
cell H5 antet "Matricola"
cell A6 antet "crt"
cell B6 antet
cell C6 antet "persoana"
cell D6 antet "la 01.ian"
cell E6 antet "debite"
cell F6 antet "scazaminte"
cell G6 antet "acordate"
cell H6 antet "la zi"
cell A7 nr "%NRCRT"
cell B7 text "#Grupa"
cell C7 nr "#Tip"
cell D7 bani "#MAT0"
cell E7 bani "#DEBITE"
cell F7 bani "#SCAZ"
cell G7 bani "#BONIF"
cell H7 bani =D7+E7-F7-G7
cell I7 - "#DBF"
cell C8 eticheta "TOTAL"
cell D8 total =SUM(D6:D7)
cell E8 total =SUM(E6:E7)
cell F8 total =SUM(F6:F7)
cell G8 total =SUM(G6:G7)
cell H8 total =SUM(H6:H7)
