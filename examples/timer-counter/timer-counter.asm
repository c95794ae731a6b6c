; timer-counter.asm - a clock kept by the timer 0 interrupt.
;
; Timer 0 runs in mode 2 (8-bit auto-reload) with TH0 = 256 - 250, so at
; 12 MHz (1 us machine cycle) a real 8051 overflows every 250 us exactly: the
; reload is done by the timer, so no interrupt latency creeps into the period.
; The interrupt routine counts four overflows to a millisecond, 1000
; milliseconds to a second, and toggles P1.0 every second.  The main loop
; only watches the seconds counter and stops after LIMIT seconds in a jump
; to itself (about 2 million instructions).
;
; Assemble: as31 -Fhex timer-counter.asm

        .equ    STACK, 0x5F
        .equ    LIMIT, 3                ; seconds to run
        .equ    PERIOD, 250             ; machine cycles between overflows
        .equ    QUARTERS, 0x30          ; overflows left in this millisecond
        .equ    MS_LO, 0x31             ; milliseconds in this second, low
        .equ    MS_HI, 0x32             ; and high byte
        .equ    SECONDS, 0x33           ; whole seconds so far

        .org    0x0000
reset:  ljmp    start

        .org    0x000B                  ; timer 0 overflow vector
        ljmp    timer0_isr

        .org    0x0030
start:  mov     sp, #STACK
        mov     QUARTERS, #4
        mov     MS_LO, #0
        mov     MS_HI, #0
        mov     SECONDS, #0
        mov     tmod, #0x02             ; timer 0 mode 2, gate off, timer
        mov     th0, #256 - PERIOD      ; reload value
        mov     tl0, #256 - PERIOD
        setb    et0
        setb    ea
        setb    tr0

idle:   mov     a, SECONDS              ; nothing to do but wait
        cjne    a, #LIMIT, idle

        clr     tr0
        clr     ea
done:   sjmp    done                    ; finished: a jump to itself

timer0_isr:
        push    psw
        push    acc
        djnz    QUARTERS, t0_out        ; four overflows make a millisecond
        mov     QUARTERS, #4
        inc     MS_LO
        mov     a, MS_LO
        jnz     t0_second
        inc     MS_HI
t0_second:
        cjne    a, #1000 & 255, t0_out  ; 1000 = 03E8h
        mov     a, MS_HI
        cjne    a, #1000 / 256, t0_out
        mov     MS_LO, #0
        mov     MS_HI, #0
        inc     SECONDS
        cpl     p1.0                    ; a one-second blink
t0_out: pop     acc
        pop     psw
        reti
