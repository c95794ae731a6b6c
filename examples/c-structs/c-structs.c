/*
 * c-structs.c - C data to open up while debugging: a struct local holding
 * an array of structs, and a list of nodes in external RAM linked through
 * pointers.
 *
 * Built with SDCC for the 8052 (see scripts/build-examples.sh):
 *   sdcc -mmcs51 --debug c-structs.c
 * The .cdb and .map beside it give Tessaly the lines, variables and types.
 */

struct point {
    int x;
    int y;
};

struct shape {
    char tag;
    struct point corners[2];
};

struct node {
    unsigned char value;
    struct node *next;
};

__xdata struct node list[4];
struct node *head;

static unsigned char sum(struct node *n)
{
    unsigned char total = 0;
    while (n) {
        total += n->value;
        n = n->next;
    }
    return total;
}

void main(void)
{
    struct shape box;
    unsigned char i;

    box.tag = 'B';
    box.corners[0].x = 1;
    box.corners[0].y = 2;
    box.corners[1].x = 30;
    box.corners[1].y = 40;
    for (i = 0; i < 4; i++) {
        list[i].value = (unsigned char)(i * 10 + 5);
        list[i].next = i < 3 ? &list[i + 1] : 0;
    }
    head = &list[0];
    box.corners[1].x = box.corners[0].x + box.corners[1].y;
    box.tag = (char)sum(head);
    while (1)
        ;
}
