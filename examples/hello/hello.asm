; hello.asm - prints a greeting on the serial port and stops.
;
; Serial mode 1 (8 data bits), 9600 baud from an 11.0592 MHz crystal:
; timer 1 in mode 2 (8-bit auto-reload) with TH1 = FDh gives
; 11059200 / (384 * 3) = 9600.  Each byte is sent with MOV SBUF,A (F5 99):
; that is the one instruction form that starts a transmission in a simple
; simulator, and what hand-written 8051 code uses anyway.  TI rises one
; frame (10 bits, about 960 machine cycles) later.
;
; Assemble: as31 -Fhex hello.asm

        .equ    STACK, 0x5F             ; stack above the register banks

        .org    0x0000
reset:  ljmp    start

        .org    0x0030
start:  mov     sp, #STACK
        mov     tmod, #0x20             ; timer 1 mode 2, timer 0 unused
        mov     th1, #0xFD              ; 9600 baud at 11.0592 MHz
        mov     tl1, #0xFD
        setb    tr1
        mov     scon, #0x50             ; mode 1, receiver enabled: after
                                        ; timer 1 runs, so the rate is valid
        setb    ti                      ; "transmitter idle" for the first byte
        mov     dptr, #message
        lcall   puts
flush:  jnb     ti, flush               ; let the last byte leave the line
done:   sjmp    done                    ; finished: a jump to itself

; puts: sends the zero-terminated string at DPTR from code memory.
puts:   clr     a
        movc    a, @a+dptr
        jz      puts_end
        lcall   putc
        inc     dptr
        sjmp    puts
puts_end:
        ret

; putc: waits until the previous byte is out, then sends A.
putc:   jnb     ti, putc
        clr     ti
        mov     sbuf, a
        ret

message:
        .db     "Hello, world!", 13, 10, 0
