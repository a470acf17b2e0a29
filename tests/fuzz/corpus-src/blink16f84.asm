; Seed for the hex file fuzzer: program, data EEPROM, configuration and ID locations.
        processor 16f84
        radix hex
        __config 0x3FF1
        __idlocs 0x5A0F
        org 0x0000
        bsf     0x03, 5
        clrf    0x06
        bcf     0x03, 5
loop    movlw   0x55
        movwf   0x06
        comf    0x06, f
        goto    loop
        org 0x2100
        de      0x11, 0x22, 0x33, 0x44
        end
