# Tabelul cladirilor impozabile ale persoanelor fizice: numarul, suprafata si impozitul tuturor
# locuintelor, apoi al primei, celei de-a doua si celei de-a treia cladiri in afara locuintei si al
# celor de peste 100 si peste 150 mp. Nu are rand de sablon: celulele "#N.." primesc totalurile.
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

width A 14
width B:G 14
height 5 48

cell A1 stanga "Primaria"
cell B1 stanga "#PRIMARIA"
cell D3 titlu "TABEL  cladiri impozabile conf. Circularei ANAF nr.806230/24.09.2012"
cell A5 antet ""
cell B5 antet "Total cladiri impozabile"
cell C5 antet "Prima cladire in afara locuintei"
cell D5 antet "A doua cladire in afara locuintei"
cell E5 antet "A treia cladire in afara locuintei"
cell F5 antet "Cladiri cu suprafata peste 100 mp"
cell G5 antet "Cladiri cu suprafata peste 150 mp"
cell A6 eticheta "Numar"
cell B6 bani "#N11"
cell C6 bani "#N21"
cell D6 bani "#N31"
cell E6 bani "#N41"
cell F6 bani "#N51"
cell G6 bani "#N61"
cell A7 eticheta "Suprafata"
cell B7 ha "#N12"
cell C7 ha "#N22"
cell D7 ha "#N32"
cell E7 ha "#N42"
cell F7 nr "X"
cell G7 nr "X"
cell A8 eticheta "Impozit"
cell B8 bani "#N13"
cell C8 bani "#N23"
cell D8 bani "#N33"
cell E8 bani "#N43"
cell F8 bani "#N53"
cell G8 bani "#N63"
