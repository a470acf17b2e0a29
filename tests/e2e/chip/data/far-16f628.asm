; A 16f628 program with code in the second 1K page of its 2K program memory: loaded for a
; 16f84, which has 1K, the words at 0400-0407 have no place.
    processor 16f628
    __config 0x3F10
    org 0
    goto far
    org 0x400
far:
    movlw 0x1E
    movwf 0x20
    movlw 0xAB
    movwf 0x21
    incf 0x20, f
    decf 0x21, f
    nop
    goto far
    end
