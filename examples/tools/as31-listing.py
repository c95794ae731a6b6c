#!/usr/bin/env python3
"""Turn an as31 listing into a listing with a typed symbol table.

as31 -l writes the code listing but no symbol table.  This script reads that
listing, collects the symbols it defines and appends a symbol table in the
fixed-column layout of the classic 8051 cross-assembler listings (the first
listing layout that Tessaly's label import reads):

    columns  1-32  symbol name, padded with a dotted leader
    columns 33-42  type: "  C ADDR  " code label, "  B ADDR  " bit,
                   "    NUMB  " number
    columns 43-46  value, four hexadecimal digits, then "H" and attributes

Labels ("name:") become C ADDR, ".flag name, byte.bit" becomes B ADDR and
".equ name, expr" becomes NUMB.

usage: as31-listing.py AS31_LISTING OUTPUT
"""

import re
import sys

ADDRESS_LINE = re.compile(r"^([0-9A-F]{4}): ")
SOURCE_COLUMN = 19  # as31 puts the source text after "AAAA: bb bb bb     "
LABEL = re.compile(r"^\s*([A-Za-z_][A-Za-z0-9_]*):")
EQU = re.compile(r"^\s*\.equ\s+([A-Za-z_][A-Za-z0-9_]*)\s*,\s*([^;]+)", re.I)
FLAG = re.compile(r"^\s*\.flag\s+([A-Za-z_][A-Za-z0-9_]*)\s*,\s*([^;]+)\.([0-7])\s*(;|$)", re.I)

# Bit-addressable SFRs that may stand before ".n" in a .flag directive.
BIT_SFRS = {"p0": 0x80, "tcon": 0x88, "p1": 0x90, "scon": 0x98, "p2": 0xA0,
            "ie": 0xA8, "p3": 0xB0, "ip": 0xB8, "t2con": 0xC8, "psw": 0xD0,
            "acc": 0xE0, "b": 0xF0}

C_ADDR, B_ADDR, NUMB = "  C ADDR  ", "  B ADDR  ", "    NUMB  "


def number(token, symbols):
    """Value of one as31 operand token: a number, a character or a symbol."""
    t = token.strip()
    if re.fullmatch(r"'(\\?.)'", t):
        c = t[1:-1]
        return ord({"\\r": "\r", "\\n": "\n", "\\t": "\t", "\\0": "\0"}.get(c, c[-1]))
    low = t.lower()
    if re.fullmatch(r"0x[0-9a-f]+h?", low):
        return int(low[2:].rstrip("h"), 16)
    if re.fullmatch(r"[0-9][0-9a-f]*h", low):
        return int(low[:-1], 16)
    if re.fullmatch(r"0b[01]+", low):
        return int(low[2:], 2)
    if re.fullmatch(r"[01]+b", low):
        return int(low[:-1], 2)
    if re.fullmatch(r"[0-9]+d", low):
        return int(low[:-1], 10)
    if re.fullmatch(r"0[0-7]+", low):
        return int(low, 8)
    if re.fullmatch(r"[0-9]+", low):
        return int(low, 10)
    if t in symbols:
        return symbols[t][1]
    if low in BIT_SFRS:
        return BIT_SFRS[low]
    raise ValueError(f"cannot evaluate '{token}'")


def evaluate(expr, symbols):
    """Evaluates + - * / between operands, left to right with * / first."""
    parts = re.split(r"\s*([-+*/])\s*", expr.strip())
    values = [number(parts[0], symbols)]
    ops = []
    for op, operand in zip(parts[1::2], parts[2::2]):
        v = number(operand, symbols)
        if op in "*/":
            values[-1] = values[-1] * v if op == "*" else values[-1] // v
        else:
            ops.append(op)
            values.append(v)
    total = values[0]
    for op, v in zip(ops, values[1:]):
        total = total + v if op == "+" else total - v
    return total & 0xFFFF


def bit_address(byte, bit):
    if 0x20 <= byte <= 0x2F:
        return (byte - 0x20) * 8 + bit
    if byte >= 0x80 and byte % 8 == 0:
        return byte + bit
    raise ValueError(f"{byte:02X}h is not bit-addressable")


def collect(lines):
    """Symbols in definition order: name -> (type marker, value)."""
    symbols = {}
    pending = []  # labels standing alone on a line take the next address
    last = 0
    for line in lines:
        m = ADDRESS_LINE.match(line)
        if m:
            last = int(m.group(1), 16)
            for name in pending:
                symbols[name] = (C_ADDR, last)
            pending = []
        elif line[:SOURCE_COLUMN].strip():
            continue  # continuation of a byte list
        source = line[SOURCE_COLUMN:]
        label = LABEL.match(source)
        if label:
            if m:
                symbols[label.group(1)] = (C_ADDR, last)
            else:
                pending.append(label.group(1))
            continue
        equ = EQU.match(source)
        if equ:
            symbols[equ.group(1)] = (NUMB, evaluate(equ.group(2), symbols))
            continue
        flag = FLAG.match(source)
        if flag:
            byte = evaluate(flag.group(2), symbols)
            symbols[flag.group(1)] = (B_ADDR, bit_address(byte, int(flag.group(3))))
    for name in pending:
        symbols[name] = (C_ADDR, last)
    return symbols


def leader(name):
    """Name followed by alternating blanks and dots, 32 columns wide."""
    text = name + " "
    while len(text) < 32:
        text += "." if text[-1] == " " else " "
    return text[:32]


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: as31-listing.py AS31_LISTING OUTPUT\n")
        return 2
    with open(argv[1], encoding="latin-1") as f:
        lines = f.read().splitlines()
    symbols = collect(lines)
    out = list(lines)
    out += ["", "", "SYMBOL TABLE LISTING", "------ ----- -------", "",
            "N A M E                         T Y P E   V A L U E   A T T R I B U T E S", ""]
    for name in sorted(symbols, key=str.upper):
        kind, value = symbols[name]
        out.append(f"{leader(name.upper())}{kind}{value:04X}H   A")
    out += ["", "REGISTER BANK(S) USED: 0", "", "ASSEMBLY COMPLETE, NO ERRORS FOUND", ""]
    with open(argv[2], "w", encoding="latin-1", newline="\r\n") as f:
        f.write("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
