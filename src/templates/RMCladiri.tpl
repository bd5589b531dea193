# Registrul matricol cladiri: un rand pe rol (randul 8, marcat "#DBF" in M8), locuintele si
# prima anexa pe material (suprafata si anul) si impozitul pe cladiri din solduri; totalurile
# suprafetelor si ale impozitului din randul 9 cresc odata cu randurile.
sheet RMCladiri

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format mp "0.00"
format an "0"
format lei "#,##0"

style titlu font=titlu align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style mp font=text format=mp align=right border=box
style an font=text format=an align=center border=box
style bani font=text format=lei align=right border=box
style totalmp font=antet format=mp align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box
style gol font=antet border=box

width A 7
width B 28
width C 14
width D:L 9
width M 6
height 6 24

cell B1 stanga "Localitatea:"
cell C1 stanga "#LOC"
cell G3 titlu "REGISTRUL MATRICOL CLADIRI"
merge D5:G5
cell D5 antet "Locuinte"
merge H5:K5
cell H5 antet "Cladiri anexe"
cell L5 antet "TOTAL"
cell A6 antet "ROL"
cell B6 antet "Numele si prenumele"
cell C6 antet "CNP/CUI"
merge D6:E6
cell D6 antet "Beton, caramida"
merge F6:G6
cell F6 antet "Lemn, chirpici"
merge H6:I6
cell H6 antet "Beton, caramida"
merge J6:K6
cell J6 antet "Lemn, chirpici"
cell L6 antet "impozit"
cell A7 antet
cell B7 antet
cell C7 antet
cell D7 antet "mp"
cell E7 antet "anul"
cell F7 antet "mp"
cell G7 antet "anul"
cell H7 antet "mp"
cell I7 antet "anul"
cell J7 antet "mp"
cell K7 antet "anul"
cell L7 antet "lei"
cell A8 text "#ROL"
cell B8 text "#NUMEP"
cell C8 text "#CNP"
cell D8 mp "#C1"
cell E8 an "#C2"
cell F8 mp "#C3"
cell G8 an "#C4"
cell H8 mp "#C5"
cell I8 an "#C6"
cell J8 mp "#C7"
cell K8 an "#C8"
cell L8 bani "#C9"
cell M8 - "#DBF"
merge A9:C9
cell A9 eticheta "TOTAL"
cell D9 totalmp =SUM(D7:D8)
cell E9 gol
cell F9 totalmp =SUM(F7:F8)
cell G9 gol
cell H9 totalmp =SUM(H7:H8)
cell I9 gol
cell J9 totalmp =SUM(J7:J8)
cell K9 gol
cell L9 total =SUM(L7:L8)
