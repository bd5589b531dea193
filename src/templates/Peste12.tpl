# Borderoul mijloacelor de transport peste 12 t: un rand pe rol (randul 6, marcat "#DBF" in G6) cu
# numarul vehiculelor si impozitul lor; totalurile din randul 7.
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

width A 5
width B 8
width C 30
width D 10
width E 12
width F 12

cell C1 titlu "BORDEROU MIJLOACE DE TRANSPORT PESTE 12 T"
cell B2 stanga "#UAT"
cell A4 antet "Nr."
cell A5 antet "crt."
cell B4 antet "ROL"
cell B5 antet ""
cell C4 antet "Titular"
cell C5 antet ""
cell D4 antet "Tip"
cell D5 antet "persoana"
cell E4 antet "Numar de"
cell E5 antet "autovehicule"
cell F4 antet "Impozit"
cell F5 antet ""
cell A6 nr "%NRCRT"
cell B6 text "#ROL"
cell C6 text "#Numep"
cell D6 text "#Tip"
cell E6 bani "#NRX"
cell F6 bani "#IMP"
cell G6 - "#DBF"
merge A7:D7
cell A7 eticheta "TOTAL"
cell E7 total =SUM(E5:E6)
cell F7 total =SUM(F5:F6)
