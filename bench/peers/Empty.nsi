; The peer's own start-up, to take off its times as well: an NSIS installer with
; Payload.nsi's settings and nothing to do (bench/peers.sh).
; makensis -DOUT=<installer> Empty.nsi
Unicode true
RequestExecutionLevel admin
Name "Kestrin Duoflex Wireless Adapter"
OutFile "${OUT}"

Section
SectionEnd
