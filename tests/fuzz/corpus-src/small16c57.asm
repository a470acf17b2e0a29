; Seed for the hex file fuzzer: a 12-bit part without data memory.
        processor 16c57
        radix hex
        __config 0x0FFD
        org 0x0000
        clrw
        movwf   0x08
        goto    0x0000
        org 0x07FF
        goto    0x0000
        end
