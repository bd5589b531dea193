# Lista persoanelor fizice sau juridice: titlul in A1 ("#LISTA"), randul 5 (marcat "#DBF"
# in H5) se copiaza pentru fiecare rol, in ordinea numelui.
sheet Lista

font titlu Arial 14 bold
font antet Arial 10 bold
font text Arial 10

style titlu font=titlu align=center valign=center
style antet font=antet align=center valign=center wrap border=box
style nr font=text align=center border=box
style text font=text align=left border=box

width A 7
width B 36
width C 15
width D 22
width E 9
width F 40
width H 6
height 1 24
height 4 28

merge A1:F1
cell A1 titlu "#LISTA"
cell A4 antet "Nr. crt."
cell B4 antet "Numele si prenumele / Denumirea"
cell C4 antet "CNP / CUI"
cell D4 antet "Satul"
cell E4 antet "Rol"
cell F4 antet "Adresa"
cell A5 nr "%NRCRT"
cell B5 text "#NUMEP"
cell C5 text "#CNP"
cell D5 text "#SATUL"
cell E5 text "#ROL"
cell F5 text "#ADRESA"
cell H5 - "#DBF"
