; peer.asm - a long, deterministic workload for comparing simulator speed.
;
; The main loop runs ROUNDS * OUTER_COUNT * INNER_COUNT passes (187500) over
; a body of about 146 instructions that mixes the instruction classes a real program uses: MUL/DIV/ADDC/SUBB/DA arithmetic,
; rotates and logic, MOVC lookups through @A+DPTR and @A+PC, MOVX through
; @DPTR and @Ri, ACALL/LCALL with PUSH/POP, bit operations on the carry and
; on bit-addressable RAM, CJNE/DJNZ loops and indirect internal RAM.
; Timer 0 (mode 2, reload 00h) interrupts every 256 machine cycles; its
; routine counts ticks and writes external RAM.  After 120000 ticks (at
; about 83% of the run) it switches itself off, and the main loop
; waits for that before it stops.  So the number of executed instructions
; is fixed by the program alone and not by small differences between
; simulators in interrupt timing: every simulator that follows the 8051
; instruction set executes the same count and ends in the same jump to
; itself (about 29 million instructions), with the same check sum in
; SUM0..SUM3 and the same tick count.
;
; Assemble: as31 -Fhex peer.asm

        .equ    STACK, 0x6F
        .equ    ROUNDS, 3               ; passes: ROUNDS * OUTER * INNER
        .equ    OUTER_COUNT, 250
        .equ    INNER_COUNT, 250
        .equ    TICK_LIMIT_HI, 0x01     ; timer interrupts before it stops:
        .equ    TICK_LIMIT_MID, 0xD4    ; 01D4C0h = 120000
        .equ    TICK_LIMIT_LO, 0xC0
        .equ    OUTER_LEFT, 0x30
        .equ    SEED_LO, 0x31
        .equ    SEED_HI, 0x32
        .equ    TICKS_LO, 0x33          ; 24-bit tick count
        .equ    TICKS_MID, 0x34
        .equ    TICKS_HI, 0x35
        .equ    ROUNDS_LEFT, 0x36
        .equ    SUM0, 0x40              ; 32-bit check sum, low byte first
        .equ    SUM1, 0x41
        .equ    SUM2, 0x42
        .equ    SUM3, 0x43
        .equ    BUF, 0x50               ; 8 bytes worked on through @R1
        .equ    XPAGE, 0x10             ; external RAM page for MOVX @DPTR
        .equ    XLOG, 0x2000            ; the interrupt routine writes here
        .flag   flag_a, 0x20.0
        .flag   flag_b, 0x20.1
        .flag   flag_c, 0x20.2
        .flag   odd_seen, 0x21.7

        .org    0x0000
reset:  ljmp    start

        .org    0x000B                  ; timer 0 overflow vector
        ljmp    timer0_isr

        .org    0x0030
start:  mov     sp, #STACK
        mov     p2, #0                  ; MOVX @Ri addresses page 0
        mov     psw, #0
        clr     a
        mov     r0, #0x20               ; clear 20h..7Fh: some simulators
clear:  mov     @r0, a                  ; start with random memory
        inc     r0
        cjne    r0, #0x80, clear
        mov     dptr, #XPAGE * 256      ; and the two external RAM pages read
xclear: movx    @dptr, a                ; before they are written
        inc     dptr
        mov     r0, dph
        cjne    r0, #XPAGE + 2, xclear
        mov     SEED_LO, #0x5A
        mov     SEED_HI, #0xC3
        mov     ROUNDS_LEFT, #ROUNDS
        mov     tmod, #0x02             ; timer 0 mode 2
        mov     th0, #0
        mov     tl0, #0
        setb    et0
        setb    ea
        setb    tr0

round:  mov     OUTER_LEFT, #OUTER_COUNT
outer:  mov     r7, #INNER_COUNT
body:
; arithmetic: a 16-bit pseudo-random step, then DIV and DA
        mov     a, SEED_LO
        mov     b, #0x6D
        mul     ab
        add     a, #0x35
        mov     SEED_LO, a
        mov     a, b
        addc    a, SEED_HI
        xrl     a, SEED_LO
        mov     SEED_HI, a
        mov     b, #7
        div     ab
        add     a, b
        da      a
        subb    a, #3
; logic and rotates
        rl      a
        swap    a
        anl     a, #0x7F
        orl     a, #0x01
        cpl     a
        rr      a
        rlc     a
        rrc     a
        xrl     a, SEED_HI
        mov     r3, a
; code-memory lookups
        anl     a, #0x0F
        mov     dptr, #table
        movc    a, @a+dptr
        acall   mix
        mov     r4, a
; external RAM through DPTR and through R0
        mov     dph, #XPAGE
        mov     dpl, SEED_LO
        movx    @dptr, a
        inc     dptr
        movx    a, @dptr                ; written on an earlier pass or 0
        xrl     a, r4
        mov     r0, SEED_HI
        movx    @r0, a
        movx    a, @r0
        mov     r5, a
; bit operations
        mov     c, acc.0
        anl     c, /acc.7
        mov     flag_a, c
        cpl     flag_b
        jnb     flag_b, bits_1
        setb    flag_c
        orl     c, flag_c
        mov     acc.3, c
bits_1: jbc     flag_a, bits_2
        setb    odd_seen
bits_2: clr     flag_c
; indirect internal RAM in a short counted loop
        mov     r1, #BUF
        mov     r2, #8
inner:  mov     a, @r1
        add     a, r2
        xch     a, @r1
        xchd    a, @r1
        inc     r1
        djnz    r2, inner
; check sum
        mov     a, r5
        lcall   add_sum
        mov     a, r3
        lcall   add_sum
        djnz    r7, body_end
        djnz    OUTER_LEFT, outer_end
        djnz    ROUNDS_LEFT, round_end
        sjmp    finish
body_end:
        ljmp    body
outer_end:
        ljmp    outer
round_end:
        ljmp    round

finish: jb      et0, finish             ; the timer routine switches itself off
        clr     tr0
        mov     a, BUF
        lcall   add_sum
done:   sjmp    done                    ; finished: a jump to itself

; mix: folds A with a MOVC @A+PC lookup; B is saved on the stack.
mix:    push    b
        mov     b, a
        anl     a, #0x07
        add     a, #mix_table - mix_base ; @A+PC counts from the next byte
        movc    a, @a+pc
mix_base:
        xrl     a, b
        pop     b
        ret
mix_table:
        .db     0x11, 0x22, 0x44, 0x88, 0x12, 0x24, 0x48, 0x81

; add_sum: SUM0..SUM3 += A
add_sum:
        add     a, SUM0
        mov     SUM0, a
        clr     a
        addc    a, SUM1
        mov     SUM1, a
        clr     a
        addc    a, SUM2
        mov     SUM2, a
        clr     a
        addc    a, SUM3
        mov     SUM3, a
        ret

timer0_isr:
        push    psw
        push    acc
        push    dpl
        push    dph
        mov     a, TICKS_LO             ; 24-bit increment
        add     a, #1
        mov     TICKS_LO, a
        clr     a
        addc    a, TICKS_MID
        mov     TICKS_MID, a
        clr     a
        addc    a, TICKS_HI
        mov     TICKS_HI, a
        mov     dptr, #XLOG
        mov     a, TICKS_LO
        movx    @dptr, a
        cjne    a, #TICK_LIMIT_LO, t0_out
        mov     a, TICKS_MID
        cjne    a, #TICK_LIMIT_MID, t0_out
        mov     a, TICKS_HI
        cjne    a, #TICK_LIMIT_HI, t0_out
        clr     et0                     ; enough ticks: no more interrupts
t0_out: pop     dph
        pop     dpl
        pop     acc
        pop     psw
        reti

table:  .db     0x3C, 0xA5, 0x0F, 0xF0, 0x69, 0x96, 0x5A, 0xC3
        .db     0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF1
