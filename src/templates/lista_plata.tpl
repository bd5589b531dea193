# Lista de plata a impozitelor pe un an: titlu, antet, un rand model (randul 6)
# copiat pentru fiecare contribuabil si totalul sub el.
sheet Lista

font titlu "Times New Roman" 14 bold
font antet Arial 10 bold
font mic Arial 8 italic
format lei "#,##0.00"

style titlu font=titlu align=center valign=center
style antet font=antet align=center valign=center wrap border=box
style nr align=right border=box
style text align=left border=box
style bani format=lei align=right border=box
style total font=antet format=lei align=right border=box
style nota font=mic

width A 6
width B 32
width C 14
width D:E 12
width F 14
height 1 24
height 4 30

merge A1:F1
marker TITLU A1 titlu
cell A2 nota "Comuna:"
marker COMUNA B2 nota
cell A4 antet "Nr."
cell B4 antet "Nume si prenume"
cell C4 antet "Cod fiscal"
cell D4 antet "Suprafata (mp)"
cell E4 antet "Impozit pe mp"
cell F4 antet "Total de plata"
cell A5 nr
cell B5 text
cell C5 text
cell D5 bani
cell E5 bani
cell F5 bani
marker NR A6 nr
cell B6 text
cell C6 text
cell D6 bani 0
cell E6 bani 0
cell F6 bani =D6*E6
cell E7 antet "Total"
cell F7 total =SUM(F5:F6)
cell B9 nota "Intocmit, ""{INTOCMIT}"""
