; peripherals.asm - a deterministic workload that keeps the peripherals busy:
; timer 0 (mode 2) and timer 2 (auto-reload) interrupt every 100 and 150
; machine cycles, the serial port (mode 1, 62500 baud from timer 1) sends a
; byte from its interrupt routine every frame, and the main loop is a short
; busy loop. Each routine counts its entries and switches its source off at
; a fixed count, well before the main loop ends, so the number of executed
; instructions is fixed by the program alone: every simulator that follows
; the 8051 instruction set executes the same count and ends in the same jump
; to itself, with the same counts in T0_COUNT, T2_COUNT and TX_COUNT and the
; same check sum in SUM0..SUM1 (30h-37h).
;
; Assemble: as31 -Fhex peripherals.asm

        .equ    STACK, 0x6F
        .equ    T0_COUNT, 0x30          ; 16-bit entry counts, low byte first
        .equ    T2_COUNT, 0x32
        .equ    TX_COUNT, 0x34
        .equ    SUM0, 0x36              ; 16-bit check sum of the main loop
        .equ    SUM1, 0x37
        .equ    LOOPS_HI, 0x38          ; main loop passes left, highest byte
        .equ    T0_LIMIT_HI, 0xEA       ; 0EA60h = 60000 entries
        .equ    T2_LIMIT_HI, 0x9C       ; 09C40h = 40000 entries
        .equ    TX_LIMIT_HI, 0x75       ; 07530h = 30000 bytes

        .org    0x0000
reset:  ljmp    start
        .org    0x000B                  ; timer 0
        ljmp    timer0_isr
        .org    0x0023                  ; serial port
        ljmp    serial_isr
        .org    0x002B                  ; timer 2
        ljmp    timer2_isr

        .org    0x0040
start:  mov     sp, #STACK
        mov     psw, #0
        clr     a
        mov     r0, #0x20
clear:  mov     @r0, a
        inc     r0
        cjne    r0, #0x80, clear
        mov     tmod, #0x22             ; timers 0 and 1 in mode 2
        mov     th0, #0x9C              ; 100 cycles
        mov     tl0, #0x9C
        mov     th1, #0xFF              ; 62500 baud with SMOD
        mov     tl1, #0xFF
        orl     pcon, #0x80
        mov     scon, #0x40             ; mode 1, no reception
        mov     rcap2h, #0xFF           ; 150 cycles
        mov     rcap2l, #0x6A
        mov     th2, #0xFF
        mov     tl2, #0x6A
        mov     ie, #0xB2               ; EA, ET2, ES, ET0
        setb    tr0
        setb    tr1
        setb    tr2
        mov     a, #0x55                ; the first byte; the rest from the routine
        mov     sbuf, a
        mov     LOOPS_HI, #0x13         ; 13h * 256 * 256 passes of the main loop
        mov     r6, #0
        mov     r7, #0

; The busy main loop: a little arithmetic into the check sum.
main:   mov     a, r7
        add     a, SUM0
        mov     SUM0, a
        clr     a
        addc    a, SUM1
        mov     SUM1, a
        djnz    r7, main
        djnz    r6, main
        djnz    LOOPS_HI, main

; Every source has switched itself off by now.
        clr     ea
done:   sjmp    done

timer0_isr:
        push    psw
        push    acc
        inc     T0_COUNT
        mov     a, T0_COUNT
        jnz     t0_out
        inc     T0_COUNT + 1
        mov     a, T0_COUNT + 1
        cjne    a, #T0_LIMIT_HI, t0_out
        clr     et0
        clr     tr0
t0_out: pop     acc
        pop     psw
        reti

timer2_isr:
        push    psw
        push    acc
        clr     tf2
        inc     T2_COUNT
        mov     a, T2_COUNT
        jnz     t2_out
        inc     T2_COUNT + 1
        mov     a, T2_COUNT + 1
        cjne    a, #T2_LIMIT_HI, t2_out
        clr     et2
        clr     tr2
t2_out: pop     acc
        pop     psw
        reti

serial_isr:
        push    psw
        push    acc
        clr     ti
        inc     TX_COUNT
        mov     a, TX_COUNT
        jnz     tx_send
        inc     TX_COUNT + 1
        mov     a, TX_COUNT + 1
        cjne    a, #TX_LIMIT_HI, tx_send
        clr     es
        sjmp    tx_out
tx_send:
        mov     sbuf, a
tx_out: pop     acc
        pop     psw
        reti
