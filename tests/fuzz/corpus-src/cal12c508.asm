; Seed for the hex file fuzzer: a 12-bit part with its calibration word at the last address.
        processor 12c508
        radix hex
        __config 0x0FEA
        __idlocs 0x1234
        org 0x0000
        movwf   0x05
        movlw   0x08
        tris    0x06
        sleep
        org 0x01FF
        movlw   0x70
        end
