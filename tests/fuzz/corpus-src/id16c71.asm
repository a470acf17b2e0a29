; Seed for the hex file fuzzer: one of the parts whose ID locations sit at 2000.
        processor 16c71
        radix hex
        __config 0x3FF5
        __idlocs 0xABCD
        org 0x0000
        movlw   0x01
        movwf   0x20
        end
