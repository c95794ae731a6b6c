; xram-tables.asm - external RAM and code-memory lookup tables.
;
; 1. Looks up the cubes of 0..15 in two code-memory tables (MOVC A,@A+DPTR)
;    and stores them as 16-bit words in external RAM from 0200h (MOVX @DPTR).
; 2. Copies the low bytes to external RAM page 0 (0040h..004Fh) through
;    MOVX @R1,A, and reads them back through MOVX A,@R0.  P2 is cleared
;    first: on a real 8051 it supplies the high address byte of MOVX @Ri.
; 3. Adds the sixteen words in external RAM: 0 + 1 + 8 + ... + 3375 = 14400
;    = 3840h, kept in internal RAM at SUM_HI:SUM_LO (30h:31h).
; 4. Writes the sum as four ASCII hexadecimal digits to external RAM at
;    0300h using a MOVC A,@A+PC table, so the result reads "3840".
; Ends in a jump to itself.
;
; Assemble: as31 -Fhex xram-tables.asm

        .equ    STACK, 0x5F
        .equ    COUNT, 16
        .equ    WORDS, 0x0200           ; cubes as words, high byte first
        .equ    PAGE0, 0x40             ; byte copies in external page 0
        .equ    TEXT, 0x0300            ; the sum as text
        .equ    SUM_HI, 0x30
        .equ    SUM_LO, 0x31
        .flag   carry_seen, 0x20.0      ; set if any addition carried

        .org    0x0000
reset:  ljmp    start

        .org    0x0030
start:  mov     sp, #STACK
        mov     p2, #0                  ; MOVX @Ri addresses page 0

; 1. cubes into external RAM as words
        mov     r2, #0                  ; i
fill:   mov     dptr, #cubes_hi
        mov     a, r2
        movc    a, @a+dptr              ; high byte of i*i*i
        mov     r3, a
        mov     dptr, #cubes_lo
        mov     a, r2
        movc    a, @a+dptr              ; low byte of i*i*i
        mov     r4, a
        mov     a, r2                   ; DPTR := WORDS + 2*i
        add     a, r2
        add     a, #WORDS & 255
        mov     dpl, a
        clr     a
        addc    a, #WORDS / 256
        mov     dph, a
        mov     a, r3
        movx    @dptr, a
        inc     dptr
        mov     a, r4
        movx    @dptr, a
        inc     r2
        cjne    r2, #COUNT, fill

; 2. low bytes to page 0 through @R1, read back through @R0
        mov     dptr, #WORDS + 1
        mov     r1, #PAGE0
        mov     r2, #COUNT
copy:   movx    a, @dptr
        movx    @r1, a
        inc     dptr
        inc     dptr
        inc     r1
        djnz    r2, copy
        mov     r0, #PAGE0
        mov     r2, #COUNT
        mov     r5, #0                  ; byte-wise check sum of the copies
check:  movx    a, @r0
        xrl     a, r5
        mov     r5, a
        inc     r0
        djnz    r2, check

; 3. sum of the words
        mov     SUM_HI, #0
        mov     SUM_LO, #0
        clr     carry_seen
        mov     dptr, #WORDS
        mov     r2, #COUNT
sum:    movx    a, @dptr                ; high byte
        mov     r3, a
        inc     dptr
        movx    a, @dptr                ; low byte
        inc     dptr
        add     a, SUM_LO
        mov     SUM_LO, a
        jnc     sum_high
        setb    carry_seen
sum_high:
        mov     a, r3
        addc    a, SUM_HI
        mov     SUM_HI, a
        djnz    r2, sum

; 4. the sum as text
        mov     dptr, #TEXT
        mov     a, SUM_HI
        lcall   put_hex
        mov     a, SUM_LO
        lcall   put_hex
        clr     a
        movx    @dptr, a                ; terminating zero
done:   sjmp    done                    ; finished: a jump to itself

; put_hex: writes A as two ASCII digits at DPTR, DPTR advances by 2.
put_hex:
        push    acc
        swap    a
        lcall   put_digit
        pop     acc
put_digit:
        anl     a, #0x0F
        add     a, #digits - digit_base ; MOVC @A+PC counts from the next byte
        movc    a, @a+pc
digit_base:
        movx    @dptr, a
        inc     dptr
        ret
digits: .db     "0123456789ABCDEF"

; i*i*i for i = 0..15: 0, 1, 8, 27, 64, 125, 216, 343, 512, 729, 1000,
; 1331, 1728, 2197, 2744, 3375, split into high and low bytes
cubes_hi:
        .db     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01
        .db     0x02, 0x02, 0x03, 0x05, 0x06, 0x08, 0x0A, 0x0D
cubes_lo:
        .db     0x00, 0x01, 0x08, 0x1B, 0x40, 0x7D, 0xD8, 0x57
        .db     0x00, 0xD9, 0xE8, 0x33, 0xC0, 0x95, 0xB8, 0x2F
