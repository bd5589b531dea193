# Registrul matricol teren: un rand pe rol (randul 8, marcat "#DBF" in R8), suprafetele
# intravilane si extravilane pe categorii si impozitul pe teren din solduri; totalurile din
# randul 9 cresc odata cu randurile.
sheet RMTeren

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format ha "0.0000"
format lei "#,##0"

style titlu font=titlu align=center
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style text font=text align=left border=box
style ha font=text format=ha align=right border=box
style bani font=text format=lei align=right border=box
style totalha font=antet format=ha align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box

width A 7
width B 28
width C 14
width D:Q 9
width R 6
height 6 24

cell B1 stanga "Localitatea:"
cell C1 stanga "#LOC"
cell G3 titlu "REGISTRUL MATRICOL TEREN"
merge D5:J5
cell D5 antet "TEREN INTRAVILAN"
merge K5:P5
cell K5 antet "TEREN EXTRAVILAN"
cell Q5 antet "TOTAL"
cell A6 antet "ROL"
cell B6 antet "Numele si prenumele"
cell C6 antet "CNP/CUI"
cell D6 antet "Curti-con."
cell E6 antet "Arabil"
cell F6 antet "Vii"
cell G6 antet "Livezi"
cell H6 antet "Padure"
cell I6 antet "Pasune"
cell J6 antet "TOTAL"
cell K6 antet "Arabil"
cell L6 antet "Vii"
cell M6 antet "Livezi"
cell N6 antet "Padure"
cell O6 antet "Pasune"
cell P6 antet "TOTAL"
cell Q6 antet "general"
cell A7 antet
cell B7 antet
cell C7 antet
cell D7 antet "mp"
cell E7 antet "(ha)"
cell F7 antet "(ha)"
cell G7 antet "(ha)"
cell H7 antet "(ha)"
cell I7 antet "(ha)"
cell J7 antet "impozit"
cell K7 antet "(ha)"
cell L7 antet "(ha)"
cell M7 antet "(ha)"
cell N7 antet "(ha)"
cell O7 antet "(ha)"
cell P7 antet "impozit"
cell Q7 antet "impozit"
cell A8 text "#ROL"
cell B8 text "#NUMEP"
cell C8 text "#CNP"
cell D8 ha "#C1"
cell E8 ha "#C2"
cell F8 ha "#C3"
cell G8 ha "#C4"
cell H8 ha "#C5"
cell I8 ha "#C6"
cell J8 bani "#C7"
cell K8 ha "#C8"
cell L8 ha "#C9"
cell M8 ha "#C10"
cell N8 ha "#C11"
cell O8 ha "#C12"
cell P8 bani "#C13"
cell Q8 bani =J8+P8
cell R8 - "#DBF"
merge A9:C9
cell A9 eticheta "TOTAL"
cell D9 totalha =SUM(D7:D8)
cell E9 totalha =SUM(E7:E8)
cell F9 totalha =SUM(F7:F8)
cell G9 totalha =SUM(G7:G8)
cell H9 totalha =SUM(H7:H8)
cell I9 totalha =SUM(I7:I8)
cell J9 total =SUM(J7:J8)
cell K9 totalha =SUM(K7:K8)
cell L9 totalha =SUM(L7:L8)
cell M9 totalha =SUM(M7:M8)
cell N9 totalha =SUM(N7:N8)
cell O9 totalha =SUM(O7:O8)
cell P9 total =SUM(P7:P8)
cell Q9 total =SUM(Q7:Q8)
