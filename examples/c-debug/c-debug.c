/*
 * c-debug.c - a C program to debug at the source level: recursion on a
 * stack of its own, calls through a function pointer, an interrupt routine,
 * and variables in registers, data, idata and xdata.
 *
 * Built with SDCC for the 8052 (see scripts/build-examples.sh), twice:
 *   sdcc -mmcs51 --debug c-debug.c                                  (c-debug.ihx)
 *   sdcc -mmcs51 --debug --model-large --stack-auto -o c-debug-large.ihx c-debug.c
 * The .cdb beside each gives Tessaly its lines, functions and variables.
 */

#include <8052.h>

struct point {
    int x;
    int y;
};

__xdata struct point corner = {3, 4};
__idata unsigned char history[4];
volatile unsigned int ticks;

/* Reentrant: each activation has its own level and below. */
static unsigned long factorial(unsigned char n) __reentrant
{
    volatile unsigned char level = n;
    unsigned long below;
    if (level <= 1)
        return 1;
    below = factorial(level - 1);
    return below * level;
}

static int twice(int v)
{
    return v + v;
}

static int negate(int v)
{
    return -v;
}

void timer0_isr(void) __interrupt(1)
{
    ticks++;
}

void main(void)
{
    int (*op)(int) = twice;
    int result;
    unsigned long f;

    TMOD = 0x02;  /* timer 0, 8-bit auto-reload */
    TH0 = 0x00;
    ET0 = 1;
    EA = 1;
    TR0 = 1;
    f = factorial(5);
    result = op(corner.x);
    op = negate;
    result = op(result);
    corner.y = result * 10;
    history[0] = (unsigned char)f;
    while (ticks < 3)
        ;
    TR0 = 0;
    while (1)
        ;
}
