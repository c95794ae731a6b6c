/*
 * c-printf.c - formatted output from C through the serial port.
 *
 * Built with SDCC for the 8052 (small memory model).  printf() from SDCC's
 * library hands every character to putchar() below, which writes SBUF and
 * waits for TI.  SDCC compiles "SBUF = c" to MOV SBUF,DPL (a direct-to-direct
 * move, not MOV SBUF,A), so run this program with tessaly-run's
 * --hardware-serial option, which makes every write of SBUF transmit.
 *
 * Serial mode 1 at 9600 baud from an 11.0592 MHz crystal: timer 1 in
 * mode 2 with TH1 = FDh.
 *
 * Build: sdcc -mmcs51 c-printf.c   (gives c-printf.ihx)
 */

#include <8052.h>
#include <stdio.h>

int putchar(int c)
{
    SBUF = (unsigned char)c;
    while (!TI)
        ;
    TI = 0;
    return c;
}

static void serial_init(void)
{
    TMOD = 0x20;  /* timer 1 mode 2 (8-bit auto-reload) */
    TH1 = 0xFD;   /* 9600 baud at 11.0592 MHz */
    TL1 = 0xFD;
    TR1 = 1;
    SCON = 0x50;  /* mode 1, receiver enabled; set last, once timer 1 runs */
}

void main(void)
{
    unsigned char n;
    unsigned long factorial = 1;
    unsigned int a = 0, b = 1;

    serial_init();
    printf("Tessaly C example: factorials and Fibonacci numbers\r\n");
    for (n = 1; n <= 12; n++) {
        unsigned int next = a + b;
        factorial *= n;
        printf("%2u! = %9lu   fib(%2u) = %3u (0x%04X)\r\n",
               (unsigned int)n, factorial, (unsigned int)n, b, b);
        a = b;
        b = next;
    }
    printf("done\r\n");
    while (1)
        ;  /* finished: a jump to itself */
}
