#!/usr/bin/env python3
"""Fails unless every Calvendrake.exe build imports only DLLs that every Windows has, every
import slot, delay-loaded ones included, is filled, every function the build files load
late (their calv_delay_import calls) is there to be loaded late, and no function it imports
is the ANSI form of one that carries text, save the few the static runtime calls (ANSI_ALLOWED).

The program ships as a single file, so a runtime DLL pulled in by the toolchain
(libstdc++-6.dll, libwinpthread-1.dll, ...) would break it on the user's machine. A slot the
linker left 0 is a call to address 0: the program dies the first time it makes that call.

An ANSI function reads and writes text in the machine's ANSI code page, which need not be 932
nor carry every name: the program holds UTF-16 and calls the wide forms.

A function loaded late that the reader cannot find means a delay-load descriptor it no longer
recognises, or a function the linker dropped: either way the other checks would see nothing.

Usage: tools/check-imports.py [EXE...]   (default: build/*/bin/Calvendrake.exe)
"""
import glob
import os
import re
import struct
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "shlwapi.dll",
           "comdlg32.dll", "advapi32.dll", "comctl32.dll", "msvcrt.dll"}

# ANSI functions the static runtime brings, none with a text of the program: the thread library
# of the C++ runtime makes unnamed events and semaphores (a NULL name) and writes ASCII traces for
# a debugger; the delay-load helper loads a DLL by the ASCII name in the import table; the 32-bit
# start-up code of GCC asks by an ASCII name whether its runtime DLL is loaded.
ANSI_ALLOWED = {"CreateEventA", "CreateSemaphoreA", "OutputDebugStringA", "LoadLibraryA", "GetModuleHandleA"}


# The ANSI forms whose names do not end in A (the tool-help walks of processes and modules).
ANSI_UNMARKED = {"Process32First", "Process32Next", "Module32First", "Module32Next"}


def is_ansi(function):
    """Whether a function is an ANSI form: a capital A after a word (MessageBoxA, lstrlenA), or an unmarked one."""
    return function in ANSI_UNMARKED or re.fullmatch(r"\w*[a-z0-9]A", function) is not None


class Image:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        pe = self.u32(0x3C)
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections = struct.unpack_from("<H", self.data, pe + 6)[0]
        optional_size = struct.unpack_from("<H", self.data, pe + 20)[0]
        opt = pe + 24
        self.wide = struct.unpack_from("<H", self.data, opt)[0] == 0x20B
        self.base = struct.unpack_from("<Q" if self.wide else "<I", self.data, opt + (24 if self.wide else 28))[0]
        self.size = self.u32(opt + 56)
        dirs = opt + (112 if self.wide else 96)
        self.dirs = [struct.unpack_from("<II", self.data, dirs + 8 * i) for i in range(16)]
        table = opt + optional_size
        self.sections = [struct.unpack_from("<8sIIII", self.data, table + 40 * i) for i in range(sections)]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for _, vsize, vaddr, rawsize, rawptr in self.sections:
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rawptr + rva - vaddr
        raise ValueError("RVA %#x is in no section" % rva)

    def pointer(self, rva):
        fmt = "<Q" if self.wide else "<I"
        return struct.unpack_from(fmt, self.data, self.offset(rva))[0]

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")

    def thunks(self, names_rva, slots_rva):
        """(function name, slot value) for each entry of a name table and its address table."""
        step = 8 if self.wide else 4
        ordinal_flag = 1 << (63 if self.wide else 31)
        i = 0
        while True:
            entry = self.pointer(names_rva + i * step)
            if entry == 0:
                return
            name = "#%d" % (entry & 0xFFFF) if entry & ordinal_flag else self.cstring(entry + 2)
            yield name, self.pointer(slots_rva + i * step)
            i += 1

    def imports(self):
        """(dll, function, slot, delayed) for every imported function."""
        rva, size = self.dirs[1]
        while rva and size:
            names, _, _, dll, slots = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if dll == 0:
                break
            for function, slot in self.thunks(names or slots, slots):
                yield self.cstring(dll), function, slot, False
            rva += 20
        for attributes, dll, slots, names in self.delay_descriptors():
            # Old-style descriptors hold addresses rather than offsets.
            fix = (lambda a: a) if attributes & 1 else (lambda a: a - self.base)
            for function, slot in self.thunks(fix(names), fix(slots)):
                yield self.cstring(fix(dll)), function, slot, True

    def delay_descriptors(self):
        """(attributes, dll, slots, names) of each delay-load descriptor. MinGW's linker does not
        list them in the header's delay-import entry, so they are found by their shape: offsets
        inside the image, the first naming a DLL."""
        found = set()
        for _, vsize, vaddr, rawsize, rawptr in self.sections:
            for at in range(rawptr, rawptr + min(vsize, rawsize) - 31, 4):
                attributes, dll, module, slots, names, bound, unload, stamp = struct.unpack_from("<8I", self.data, at)
                if attributes != 1 or bound or unload or stamp:
                    continue
                if not all(0 < rva < self.size for rva in (dll, module, slots, names)):
                    continue
                try:
                    if not self.cstring(dll).lower().endswith(".dll"):
                        continue
                except ValueError:
                    continue
                found.add((attributes, dll, slots, names))
        return sorted(found)

    def filled(self, slot, delayed):
        # A delay-loaded slot holds the address of its loading stub, inside the image; an
        # ordinary one holds the offset of the function's name until the loader fills it.
        if delayed:
            return self.base <= slot < self.base + self.size
        return slot != 0


def loaded_late():
    """dll!function for each function named in a calv_delay_import call of the build files."""
    functions = set()
    for cmake in glob.glob(os.path.join(REPO, "*", "CMakeLists.txt")):
        with open(cmake, encoding="utf-8") as f:
            for _, dll, entries in re.findall(r"calv_delay_import\((\S+)\s+(\S+)\s+([^)]*)\)", f.read()):
                functions.update(("%s.dll!%s" % (dll, entry.split("/")[0])).lower() for entry in entries.split())
    return functions


def check(path, expected_late):
    try:
        image = Image(path)
        imports = list(image.imports())
    except (OSError, ValueError, struct.error) as error:
        return ["cannot read %s: %s" % (path, error)], ""
    problems = []
    if not imports:
        problems.append("%s lists no imports" % path)
    dlls = sorted({dll for dll, _, _, _ in imports}, key=str.lower)
    extra = [dll for dll in dlls if dll.lower() not in ALLOWED]
    if extra:
        problems.append("%s imports %s" % (path, " ".join(extra)))
    for dll, function, slot, delayed in imports:
        if not image.filled(slot, delayed):
            problems.append("%s: the %simport slot of %s!%s is empty (%#x)"
                            % (path, "delay-load " if delayed else "", dll, function, slot))
    ansi = sorted({f for _, f, _, _ in imports if is_ansi(f) and f not in ANSI_ALLOWED})
    if ansi:
        problems.append("%s imports ANSI functions: %s" % (path, " ".join(ansi)))
    delayed = sorted({"%s!%s" % (dll, f) for dll, f, _, d in imports if d})
    missing = sorted(expected_late - {name.lower() for name in delayed})
    if missing:
        problems.append("%s: not found among the functions loaded late: %s" % (path, " ".join(missing)))
    summary = "%s imports %s; %d functions, %d loaded late%s" % (
        path, " ".join(dlls), len(imports), len(delayed), (": " + " ".join(delayed)) if delayed else "")
    return problems, summary


def main(argv):
    exes = argv or sorted(glob.glob(os.path.join(REPO, "build", "*", "bin", "Calvendrake.exe")))
    if not exes:
        print("check-imports: FAILED: no build/*/bin/Calvendrake.exe to check", file=sys.stderr)
        return 1
    expected_late = loaded_late()
    if not expected_late:
        print("check-imports: FAILED: no calv_delay_import call found in the build files", file=sys.stderr)
        return 1
    failed = False
    for exe in exes:
        problems, summary = check(exe, expected_late)
        for problem in problems:
            print("check-imports: FAILED: " + problem, file=sys.stderr)
        if problems:
            failed = True
        else:
            print("check-imports: ok: " + summary)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
