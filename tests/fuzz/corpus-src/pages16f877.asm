; Seed for the hex file fuzzer: code in two pages of a large part, data at the end of EEPROM.
        processor 16f877
        radix hex
        __config 0x3F39
        org 0x0000
        pagesel far
        goto    far
        org 0x1000
far     incf    0x20, f
        goto    far
        org 0x1FFE
        nop
        return
        org 0x21F0
        de      0xA5, 0x5A
        end
