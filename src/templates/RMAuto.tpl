# Registrul matricol al mijloacelor de transport: un rand pe linie de impozit stabilita
# (randul 6, marcat "#DBF" in H6); totalul impozitului din randul 7 creste odata cu randurile.
sheet RMAuto

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format cant "0.##"
format lei "#,##0"

style titlu font=titlu align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style cant font=text format=cant align=right border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box

width A 7
width B 28
width C 14
width D 30
width E 8
width F 9
width G 10
width H 6
height 5 24

cell B1 stanga "Localitatea:"
cell C1 stanga "#LOC"
cell C3 titlu "REGISTRUL MATRICOL Mijloace de transport"
cell A5 antet "ROL"
cell B5 antet "Numele si prenumele"
cell C5 antet "CNP/CUI"
cell D5 antet "Mijloace de transport"
cell E5 antet "U.M."
cell F5 antet "Cant."
cell G5 antet "Impozit"
cell A6 text "#ROL"
cell B6 text "#NUMEP"
cell C6 text "#CNP"
cell D6 text "#DENUM"
cell E6 text "#UM"
cell F6 cant "#CANT"
cell G6 bani "#SUMA"
cell H6 - "#DBF"
merge A7:F7
cell A7 eticheta "TOTAL"
cell G7 total =SUM(G5:G6)
