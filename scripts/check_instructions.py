"""Checks that a Windows program's code runs on a Pentium.

    check-instructions.sh [--link-map MAP] [--symbols FILE] [--allowed FILE] [--objdump OBJDUMP] PROGRAM...

Several programs (a program and the DLL it loads) are checked together, each with
its own --link-map and --symbols, given in the same order.

Windows 95 and 98 ran on the Pentium and the Pentium MMX, AMD's K5 and K6, Cyrix's
6x86 and the WinChip. The program's code is disassembled (with the objdump of the
MinGW binutils, or --objdump) and every instruction those processors lack fails the
check:
  - CMOVcc, FCMOVcc, FCOMI, FCOMIP, FUCOMI, FUCOMIP and the long NOP (0F 1F), all
    first in the Pentium Pro (Debian's compiler uses them by default: it targets i686);
  - MMX, 3DNow!, SSE and everything later: any instruction on an MM, XMM or YMM
    register, and those without one (EMMS, LDMXCSR, the fences and prefetches, POPCNT,
    MOVBE, RDRAND, ...).
RDTSC, CPUID and CMPXCHG8B are the Pentium's own. TZCNT is allowed: it is the
compiler's REP BSF, which older processors run as BSF, with the same result for the
non-zero values it is used on.

With --link-map (the linker's -Map file) only the input sections of code are read:
the MinGW linker script puts data into .text too (the constructor and destructor
lists, the exception tables), which would disassemble as anything. With --symbols
(the same program before its symbols were stripped; its code must be the same bytes)
each finding names its function; the link map names its object file. The file of
--allowed names the functions that may hold newer instructions, because they run
only after CPUID has reported them, with the object file and why; a row that
matches no function of the programs fails too.
"""
import argparse
import bisect
import os
import re
import subprocess
import sys

import pefile

from table_rows import table_rows

CODE_INPUT = re.compile(r"^\.(text|init|fini)([$.].*)?$")
PREFIXES = {"lock", "rep", "repz", "repnz", "repe", "repne", "data16", "data32", "addr16", "addr32",
            "cs", "ds", "es", "ss", "fs", "gs", "notrack", "bnd"}
PENTIUM_PRO = {"fcomi", "fcomip", "fucomi", "fucomip"}
WITHOUT_REGISTER = {
    "emms": "MMX", "femms": "3DNow!", "ldmxcsr": "SSE", "stmxcsr": "SSE", "vldmxcsr": "AVX",
    "vstmxcsr": "AVX", "sfence": "SSE", "lfence": "SSE2", "mfence": "SSE2", "movnti": "SSE2",
    "fxsave": "FXSR", "fxrstor": "FXSR", "xgetbv": "XSAVE", "xsetbv": "XSAVE", "sysenter": "SEP",
    "sysexit": "SEP", "syscall": "SYSCALL", "sysret": "SYSCALL", "rdpmc": "Pentium Pro",
    "popcnt": "POPCNT", "lzcnt": "LZCNT", "movbe": "MOVBE", "rdrand": "RDRAND", "rdseed": "RDSEED",
    "adcx": "ADX", "adox": "ADX", "andn": "BMI", "bextr": "BMI", "blsi": "BMI", "blsmsk": "BMI",
    "blsr": "BMI", "bzhi": "BMI2", "mulx": "BMI2", "pdep": "BMI2", "pext": "BMI2", "rorx": "BMI2",
    "sarx": "BMI2", "shlx": "BMI2", "shrx": "BMI2", "endbr32": "CET", "endbr64": "CET",
}
WITHOUT_REGISTER_PREFIXES = (("prefetch", "SSE or 3DNow!"), ("clflush", "CLFLUSH"), ("clwb", "CLWB"),
                             ("fisttp", "SSE3"), ("crc32", "SSE4.2"), ("xsave", "XSAVE"),
                             ("xrstor", "XSAVE"))
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\t(.*)$")
LABEL = re.compile(r"^([0-9a-f]+) <(.*)>:$")


def newer_than_pentium(text):
    """What processor feature the instruction (objdump's AT&T text) needs beyond
    the Pentium, or None."""
    words = text.split(None, 1)
    while words and words[0] in PREFIXES:
        words = words[1].split(None, 1) if len(words) > 1 else []
    if not words:
        return None
    mnemonic = words[0]
    operands = words[1].split("#")[0] if len(words) > 1 else ""
    if mnemonic.startswith("cmov"):
        return "CMOV (Pentium Pro)"
    if mnemonic.startswith("fcmov") or mnemonic in PENTIUM_PRO:
        return "FCMOV and FCOMI (Pentium Pro)"
    if mnemonic in ("nop", "nopw", "nopl") and operands.strip():
        return "the long NOP (Pentium Pro)"
    if re.search(r"%[xyz]mm\d", operands):
        return "SSE or AVX"
    if re.search(r"%mm\d", operands):
        return "MMX"
    if mnemonic in WITHOUT_REGISTER:
        return WITHOUT_REGISTER[mnemonic]
    for prefix, feature in WITHOUT_REGISTER_PREFIXES:
        if mnemonic.startswith(prefix):
            return feature
    return None


def read_link_map(path):
    """(start, size, input section, object file) of every input section placed in
    the program's output sections, sorted by address."""
    placed = []
    pending = None
    with open(path, encoding="utf-8", errors="replace") as lines:
        in_layout = False
        for line in lines:
            if line.startswith("Linker script and memory map"):
                in_layout = True
                continue
            if not in_layout:
                continue
            match = re.match(r"^ (\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if match:
                placed.append((int(match[2], 16), int(match[3], 16), match[1], match[4].strip()))
                pending = None
                continue
            match = re.match(r"^ (\S+)$", line)
            if match:
                pending = match[1]
                continue
            match = re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if match and pending:
                placed.append((int(match[1], 16), int(match[2], 16), pending, match[3].strip()))
            pending = None
    return sorted(item for item in placed if item[1] > 0)


def code_bytes(path):
    """image base, and (name, virtual address, bytes) of every executable section."""
    pe = pefile.PE(path, fast_load=True)
    sections = []
    for section in pe.sections:
        if section.Characteristics & (0x20 | 0x20000000):  # code, or executable
            name = section.Name.rstrip(b"\0").decode("ascii", "replace")
            data = section.get_data()[:section.Misc_VirtualSize or section.SizeOfRawData]
            sections.append((name, pe.OPTIONAL_HEADER.ImageBase + section.VirtualAddress, data))
    return pe.OPTIONAL_HEADER.ImageBase, sections


def code_ranges(sections, placed):
    """[start, end) ranges to disassemble, and the placed input sections for names."""
    if placed is None:
        return [(start, start + len(data)) for _, start, data in sections]
    ranges = []
    for start, size, name, _ in placed:
        if not CODE_INPUT.match(name):
            continue
        if not any(base <= start < base + len(data) for _, base, data in sections):
            continue
        if ranges and ranges[-1][1] >= start:
            ranges[-1] = (ranges[-1][0], max(ranges[-1][1], start + size))
        else:
            ranges.append((start, start + size))
    return ranges


def read_allowed(path):
    return {(fields[0], fields[1]): fields[2]
            for _, fields in table_rows(path, 3, "function, object file and why")}


def check_program(program, link_map, symbols, allowed, objdump, used):
    """Disassembles one program: (instructions checked, stretches of code, problems);
    adds the rows of `allowed` that it matches to `used`."""
    name = os.path.basename(program)
    _, sections = code_bytes(program)
    disassembled = program
    if symbols:
        if code_bytes(symbols)[1] != sections:
            sys.exit(f"{name}: its code differs from that of {symbols}")
        disassembled = symbols
    placed = read_link_map(link_map) if link_map else None
    ranges = code_ranges(sections, placed)
    if not ranges:
        sys.exit(f"{name}: no code found")
    placed_starts = [item[0] for item in placed] if placed else []

    def object_at(address):
        if not placed:
            return "?"
        index = bisect.bisect_right(placed_starts, address) - 1
        if index < 0 or address >= placed[index][0] + placed[index][1]:
            return "?"
        return os.path.basename(placed[index][3])

    findings = {}  # (function, object file) -> [(address, instruction, feature)]
    checked = 0
    for start, end in ranges:
        listing = subprocess.run(
            [objdump, "-d", "-w", "-C", "--no-show-raw-insn", f"--start-address={start:#x}",
             f"--stop-address={end:#x}", disassembled], capture_output=True, text=True, check=True).stdout
        function = None
        for line in listing.splitlines():
            label = LABEL.match(line)
            if label:
                function = label[2]
                continue
            instruction = INSTRUCTION.match(line)
            if not instruction or instruction[2].startswith("(bad)"):
                continue
            checked += 1
            feature = newer_than_pentium(instruction[2])
            if feature is None:
                continue
            address = int(instruction[1], 16)
            owner = object_at(address)
            where = function if function is not None else f"the code at {address:#x}"
            findings.setdefault((re.sub(r"\+0x[0-9a-f]+$", "", where), owner), []).append(
                (address, " ".join(instruction[2].split()), feature))

    problems = []
    for (function, owner), found in sorted(findings.items(), key=lambda item: item[1][0][0]):
        key = (function, re.sub(r"^.*\((.*)\)$", r"\1", owner))
        if key in allowed:
            used.add(key)
            print(f"{name}: {function} ({owner}) runs only where CPUID reports it: {allowed[key]}")
            continue
        features = sorted({feature for _, _, feature in found})
        address, text, _ = found[0]
        problems.append(f"{name}: {function} ({owner}): {len(found)} instructions the Pentium lacks "
                        f"({', '.join(features)}), the first at {address:#x}: {text}")
    print(f"{name}: {checked} instructions in {len(ranges)} stretches of code disassembled")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--link-map", action="append", default=[])
    parser.add_argument("--symbols", action="append", default=[])
    parser.add_argument("--allowed")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("programs", nargs="+")
    arguments = parser.parse_args()
    for option, given in (("--link-map", arguments.link_map), ("--symbols", arguments.symbols)):
        if given and len(given) != len(arguments.programs):
            parser.error(f"{option} once for each program, or not at all")
    allowed = read_allowed(arguments.allowed) if arguments.allowed else {}

    problems = []
    used = set()
    for index, program in enumerate(arguments.programs):
        problems += check_program(program, arguments.link_map[index] if arguments.link_map else None,
                                  arguments.symbols[index] if arguments.symbols else None, allowed,
                                  arguments.objdump, used)
    for function, owner in sorted(set(allowed) - used):
        problems.append(f"{function} ({owner}): allowed newer instructions in {arguments.allowed}, "
                        "and none found (remove its row)")

    name = " and ".join(os.path.basename(program) for program in arguments.programs)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{name}: {len(problems)} problems: a Pentium, K5, K6, 6x86 or WinChip would stop at "
              "an illegal instruction", file=sys.stderr)
        return 1
    print(f"{name}: runs on the Pentium")
    return 0


if __name__ == "__main__":
    sys.exit(main())
