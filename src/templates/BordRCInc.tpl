# Centralizatorul de incasari si plati pe denumiri de cont: un rand pe document (randul 11,
# marcat "#DBF" in BI11). Fiecare impozit local are cate un bloc pentru persoane fizice si unul
# pentru persoane juridice (ramasita, curent, total); blocul de trei coloane BD:BF se copiaza
# pentru fiecare alta denumire de cont. Randul 12 aduna coloanele.
sheet Centralizator

font titlu Arial 12 bold
font antet Arial 8 bold
font text Arial 8
format lei "#,##0"
format data "dd.mm.yyyy"

style titlu font=titlu align=left
style stanga font=antet align=left
style antet font=antet align=center valign=center wrap border=box
style nr font=text align=center border=box
style text font=text align=left border=box
style data font=text format=data align=center border=box
style bani font=text format=lei align=right border=box
style total font=antet format=lei align=right border=box
style eticheta font=antet align=right border=box

width A 5
width B 8
width C 24
width D:F 6
width G 10
width H:BG 8
height 9 24

cell A1 stanga "#PRIMARIA"
cell A2 titlu "CENTRALIZATOR DE INCASARI SI PLATI"
cell A3 stanga "#PERIOADA"
cell A4 stanga "Casier:"
cell C4 stanga "#CASIER"
merge A6:A10
cell A6 antet "Nr. crt."
merge B6:B10
cell B6 antet "ROL"
merge C6:C10
cell C6 antet "Titular"
merge D6:D10
cell D6 antet "Tip"
merge E6:E10
cell E6 antet "Seria"
merge F6:F10
cell F6 antet "Numar"
merge G6:G10
cell G6 antet "Data"
merge H6:S6
cell H6 antet "Impozit pe cladiri"
merge H7:M7
cell H7 antet "persoane fizice"
merge H8:M8
cell H8 antet "[C1]"
merge H9:I9
cell H9 antet "Ramasita"
merge J9:L9
cell J9 antet "Curent"
merge M9:M10
cell M9 antet "Total"
cell H10 antet "Debit"
cell I10 antet "Major."
cell J10 antet "Debit"
cell K10 antet "Bonif."
cell L10 antet "Major."
cell H11 bani "#C1"
cell I11 bani "#C2"
cell J11 bani "#C3"
cell K11 bani "#C4"
cell L11 bani "#C5"
cell M11 total =SUM(H11:L11)
merge N7:S7
cell N7 antet "persoane juridice"
merge N8:S8
cell N8 antet "[C2]"
merge N9:O9
cell N9 antet "Ramasita"
merge P9:R9
cell P9 antet "Curent"
merge S9:S10
cell S9 antet "Total"
cell N10 antet "Debit"
cell O10 antet "Major."
cell P10 antet "Debit"
cell Q10 antet "Bonif."
cell R10 antet "Major."
cell N11 bani "#C6"
cell O11 bani "#C7"
cell P11 bani "#C8"
cell Q11 bani "#C9"
cell R11 bani "#C10"
cell S11 total =SUM(N11:R11)
merge T6:AE6
cell T6 antet "Impozit pe teren intravilan"
merge T7:Y7
cell T7 antet "persoane fizice"
merge T8:Y8
cell T8 antet "[C3]"
merge T9:U9
cell T9 antet "Ramasita"
merge V9:X9
cell V9 antet "Curent"
merge Y9:Y10
cell Y9 antet "Total"
cell T10 antet "Debit"
cell U10 antet "Major."
cell V10 antet "Debit"
cell W10 antet "Bonif."
cell X10 antet "Major."
cell T11 bani "#C11"
cell U11 bani "#C12"
cell V11 bani "#C13"
cell W11 bani "#C14"
cell X11 bani "#C15"
cell Y11 total =SUM(T11:X11)
merge Z7:AE7
cell Z7 antet "persoane juridice"
merge Z8:AE8
cell Z8 antet "[C4]"
merge Z9:AA9
cell Z9 antet "Ramasita"
merge AB9:AD9
cell AB9 antet "Curent"
merge AE9:AE10
cell AE9 antet "Total"
cell Z10 antet "Debit"
cell AA10 antet "Major."
cell AB10 antet "Debit"
cell AC10 antet "Bonif."
cell AD10 antet "Major."
cell Z11 bani "#C16"
cell AA11 bani "#C17"
cell AB11 bani "#C18"
cell AC11 bani "#C19"
cell AD11 bani "#C20"
cell AE11 total =SUM(Z11:AD11)
merge AF6:AQ6
cell AF6 antet "Impozit pe teren extravilan"
merge AF7:AK7
cell AF7 antet "persoane fizice"
merge AF8:AK8
cell AF8 antet "[C5]"
merge AF9:AG9
cell AF9 antet "Ramasita"
merge AH9:AJ9
cell AH9 antet "Curent"
merge AK9:AK10
cell AK9 antet "Total"
cell AF10 antet "Debit"
cell AG10 antet "Major."
cell AH10 antet "Debit"
cell AI10 antet "Bonif."
cell AJ10 antet "Major."
cell AF11 bani "#C21"
cell AG11 bani "#C22"
cell AH11 bani "#C23"
cell AI11 bani "#C24"
cell AJ11 bani "#C25"
cell AK11 total =SUM(AF11:AJ11)
merge AL7:AQ7
cell AL7 antet "persoane juridice"
merge AL8:AQ8
cell AL8 antet "[C6]"
merge AL9:AM9
cell AL9 antet "Ramasita"
merge AN9:AP9
cell AN9 antet "Curent"
merge AQ9:AQ10
cell AQ9 antet "Total"
cell AL10 antet "Debit"
cell AM10 antet "Major."
cell AN10 antet "Debit"
cell AO10 antet "Bonif."
cell AP10 antet "Major."
cell AL11 bani "#C26"
cell AM11 bani "#C27"
cell AN11 bani "#C28"
cell AO11 bani "#C29"
cell AP11 bani "#C30"
cell AQ11 total =SUM(AL11:AP11)
merge AR6:BC6
cell AR6 antet "Impozit pe mijloace de transport"
merge AR7:AW7
cell AR7 antet "persoane fizice"
merge AR8:AW8
cell AR8 antet "[C7]"
merge AR9:AS9
cell AR9 antet "Ramasita"
merge AT9:AV9
cell AT9 antet "Curent"
merge AW9:AW10
cell AW9 antet "Total"
cell AR10 antet "Debit"
cell AS10 antet "Major."
cell AT10 antet "Debit"
cell AU10 antet "Bonif."
cell AV10 antet "Major."
cell AR11 bani "#C31"
cell AS11 bani "#C32"
cell AT11 bani "#C33"
cell AU11 bani "#C34"
cell AV11 bani "#C35"
cell AW11 total =SUM(AR11:AV11)
merge AX7:BC7
cell AX7 antet "persoane juridice"
merge AX8:BC8
cell AX8 antet "[C8]"
merge AX9:AY9
cell AX9 antet "Ramasita"
merge AZ9:BB9
cell AZ9 antet "Curent"
merge BC9:BC10
cell BC9 antet "Total"
cell AX10 antet "Debit"
cell AY10 antet "Major."
cell AZ10 antet "Debit"
cell BA10 antet "Bonif."
cell BB10 antet "Major."
cell AX11 bani "#C36"
cell AY11 bani "#C37"
cell AZ11 bani "#C38"
cell BA11 bani "#C39"
cell BB11 bani "#C40"
cell BC11 total =SUM(AX11:BB11)
cell BD6 antet "#TAXA"
cell BE6 antet
cell BF6 antet
cell BD7 antet
cell BE7 antet
cell BF7 antet
cell BD8 antet "#CONT"
cell BE8 antet
cell BF8 antet
cell BD9 antet
cell BE9 antet
cell BF9 antet
cell BD10 antet "L.R."
cell BD11 bani "#C41"
cell BE10 antet "CRT"
cell BE11 bani "#C42"
cell BF10 antet "Total"
cell BF11 bani "#C43"
merge BG6:BG10
cell BG6 antet "TOTAL GENERAL"
cell BG11 total "#TOTAL"
cell A11 nr "%NRCRT"
cell B11 text "#ROL"
cell C11 text "#NUMEP"
cell D11 nr "#TIP"
cell E11 nr "#SERIA"
cell F11 nr "#NR"
cell G11 data "#DATAI"
cell BI11 - "#DBF"
merge A12:G12
cell A12 eticheta "Total incasat: "
cell H12 total =SUM(H10:H11)
cell I12 total =SUM(I10:I11)
cell J12 total =SUM(J10:J11)
cell K12 total =SUM(K10:K11)
cell L12 total =SUM(L10:L11)
cell M12 total =SUM(M10:M11)
cell N12 total =SUM(N10:N11)
cell O12 total =SUM(O10:O11)
cell P12 total =SUM(P10:P11)
cell Q12 total =SUM(Q10:Q11)
cell R12 total =SUM(R10:R11)
cell S12 total =SUM(S10:S11)
cell T12 total =SUM(T10:T11)
cell U12 total =SUM(U10:U11)
cell V12 total =SUM(V10:V11)
cell W12 total =SUM(W10:W11)
cell X12 total =SUM(X10:X11)
cell Y12 total =SUM(Y10:Y11)
cell Z12 total =SUM(Z10:Z11)
cell AA12 total =SUM(AA10:AA11)
cell AB12 total =SUM(AB10:AB11)
cell AC12 total =SUM(AC10:AC11)
cell AD12 total =SUM(AD10:AD11)
cell AE12 total =SUM(AE10:AE11)
cell AF12 total =SUM(AF10:AF11)
cell AG12 total =SUM(AG10:AG11)
cell AH12 total =SUM(AH10:AH11)
cell AI12 total =SUM(AI10:AI11)
cell AJ12 total =SUM(AJ10:AJ11)
cell AK12 total =SUM(AK10:AK11)
cell AL12 total =SUM(AL10:AL11)
cell AM12 total =SUM(AM10:AM11)
cell AN12 total =SUM(AN10:AN11)
cell AO12 total =SUM(AO10:AO11)
cell AP12 total =SUM(AP10:AP11)
cell AQ12 total =SUM(AQ10:AQ11)
cell AR12 total =SUM(AR10:AR11)
cell AS12 total =SUM(AS10:AS11)
cell AT12 total =SUM(AT10:AT11)
cell AU12 total =SUM(AU10:AU11)
cell AV12 total =SUM(AV10:AV11)
cell AW12 total =SUM(AW10:AW11)
cell AX12 total =SUM(AX10:AX11)
cell AY12 total =SUM(AY10:AY11)
cell AZ12 total =SUM(AZ10:AZ11)
cell BA12 total =SUM(BA10:BA11)
cell BB12 total =SUM(BB10:BB11)
cell BC12 total =SUM(BC10:BC11)
cell BD12 total =SUM(BD10:BD11)
cell BE12 total =SUM(BE10:BE11)
cell BF12 total =SUM(BF10:BF11)
cell BG12 total =SUM(BG10:BG11)
