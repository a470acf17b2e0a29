; A short 16f84 program whose words and configuration word hold the hex letters A-F, so that a
; file written in lower case differs in its letters' case from the chip's read-back.
    processor 16f84
    __config 0x3FF2
    org 0
start:
    movlw 0xAB
    movwf 0x0C
    movlw 0xCD
    movwf 0x0D
    comf 0x0C, f
    decfsz 0x0D, f
    goto start
    retlw 0xEF
    end
