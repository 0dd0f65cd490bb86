#!/usr/bin/env python3
"""Checks the built layout libraries of both processors without loading them.

Only the 64-bit libraries can be loaded on the test machines, so this check reads every library
as a file: processor, no entry point, exactly one export (KbdLayerDescriptor), no imported
library, Windows and subsystem version, no time stamp, the version resource and the display name.
It then follows KbdLayerDescriptor's code to the tables as the system does: every table lies in
.data, every pointer in the tables is covered by a base relocation, and the scan-code tables, the
locale flags and the numeric pad's decimal key hold what the expectation file says, at the file
offsets the library's sidecar reports.

Usage: check_layout_images.py LAYOUTS_FOLDER NAME...
"""
import os
import struct
import sys

import pefile

# Processor folder: machine, pointer size, Windows version the library asks for.
PROCESSORS = {"x86": (0x14C, 4, (5, 0)), "x64": (0x8664, 8, (5, 2))}
ALLOWED_SECTIONS = {".text", ".data", ".edata", ".idata", ".rsrc", ".reloc"}
IMAGE_FILE_DLL = 0x2000
RT_STRING = 6
DISPLAY_NAME_ID = 1000
SCAN_TABLE_SIZE = 128
VK_DECIMAL = 0x6E


def read_expectation(path):
    expectation = {}
    with open(path, encoding="ascii") as lines:
        for line in lines:
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            kind, values = words[0], words[1:]
            if kind == "description":
                expectation[kind] = "".join(chr(int(unit, 16)) for unit in values)
            elif kind == "localeflags":
                expectation[kind] = int(values[0], 16)
            elif kind == "scan":
                expectation[kind] = [int(value, 16) for value in values]
            elif kind in ("e0", "e1"):
                expectation[kind] = [tuple(int(part, 16) for part in value.split(":")) for value in values]
    return expectation


def read_sidecar(path):
    places = {}
    with open(path, encoding="ascii") as lines:
        for line in lines:
            words = line.split()
            if words and not words[0].startswith("#"):
                places[words[0]] = int(words[1], 16)
    return places


class Library:
    def __init__(self, path, processor, failures):
        self.name = os.path.join(processor, os.path.basename(path))
        self.pe = pefile.PE(path)
        self.machine, self.pointer_size, self.version = PROCESSORS[processor]
        self.failures = failures
        self.relocated = {entry.rva for block in getattr(self.pe, "DIRECTORY_ENTRY_BASERELOC", [])
                          for entry in block.entries if entry.type != 0}

    def fail(self, message):
        self.failures.append("%s: %s" % (self.name, message))

    def read(self, rva, size):
        return self.pe.get_data(rva, size)

    def in_data(self, rva):
        section = self.pe.get_section_by_rva(rva)
        return section is not None and section.Name.rstrip(b"\0") == b".data"

    def pointer(self, rva, what):
        """The RVA a table pointer at rva points to; checks that it is relocated and in .data."""
        value = int.from_bytes(self.read(rva, self.pointer_size), "little")
        if value == 0:
            return 0
        if rva not in self.relocated:
            self.fail("the pointer to %s has no base relocation" % what)
        target = value - self.pe.OPTIONAL_HEADER.ImageBase
        if not self.in_data(target):
            self.fail("%s is not in the .data section" % what)
        return target

    def check_headers(self):
        pe, header = self.pe, self.pe.OPTIONAL_HEADER
        if pe.FILE_HEADER.Machine != self.machine:
            self.fail("machine 0x%x instead of 0x%x" % (pe.FILE_HEADER.Machine, self.machine))
        if not pe.FILE_HEADER.Characteristics & IMAGE_FILE_DLL:
            self.fail("not a library")
        if pe.FILE_HEADER.TimeDateStamp != 0:
            self.fail("has a time stamp")
        if header.AddressOfEntryPoint != 0:
            self.fail("has an entry point")
        for kind in ("OperatingSystem", "Subsystem"):
            found = (getattr(header, "Major%sVersion" % kind), getattr(header, "Minor%sVersion" % kind))
            if found != self.version:
                self.fail("%s version %d.%d instead of %d.%d" % ((kind,) + found + self.version))
        sections = {section.Name.rstrip(b"\0").decode() for section in pe.sections}
        if not sections <= ALLOWED_SECTIONS or ".data" not in sections:
            self.fail("sections %s" % sorted(sections))
        exports = [(symbol.name, symbol.ordinal) for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols]
        if exports != [(b"KbdLayerDescriptor", 1)]:
            self.fail("exports %s" % exports)
        if getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
            self.fail("imports %s" % [entry.dll for entry in pe.DIRECTORY_ENTRY_IMPORT])

    def check_resources(self, name, expectation):
        strings = {}
        for table in getattr(self.pe, "FileInfo", [[]])[0]:
            for entry in getattr(table, "StringTable", []):
                strings.update({key.decode(): value.decode() for key, value in entry.entries.items()})
        if strings.get("FileDescription") != expectation["description"]:
            self.fail("version resource description %r" % strings.get("FileDescription"))
        if strings.get("OriginalFilename") != name + ".DLL":
            self.fail("version resource file name %r" % strings.get("OriginalFilename"))
        names = []
        for kind in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if kind.id != RT_STRING:
                continue
            for block in kind.directory.entries:
                if block.id != DISPLAY_NAME_ID // 16 + 1:
                    continue
                for language in block.directory.entries:
                    data = self.read(language.data.struct.OffsetToData, language.data.struct.Size)
                    offset = 0
                    for index in range(16):
                        (length,) = struct.unpack_from("<H", data, offset)
                        if index == DISPLAY_NAME_ID % 16:
                            names.append(data[offset + 2:offset + 2 + 2 * length].decode("utf-16-le"))
                        offset += 2 + 2 * length
        if not names or any(found != expectation["description"] for found in names):
            self.fail("display names %r" % names)

    def tables_rva(self):
        """Where KbdLayerDescriptor's code says the tables are (mov eax, imm32 / lea rax, [rip+d])."""
        export = self.pe.DIRECTORY_ENTRY_EXPORT.symbols[0].address
        code = self.read(export, 8)
        if self.pointer_size == 4 and code[0] == 0xB8 and code[5] == 0xC3:
            return struct.unpack_from("<I", code, 1)[0] - self.pe.OPTIONAL_HEADER.ImageBase
        if self.pointer_size == 8 and code[:3] == b"\x48\x8d\x05" and code[7] == 0xC3:
            return export + 7 + struct.unpack_from("<i", code, 3)[0]
        self.fail("KbdLayerDescriptor is not a load of the tables' address: %s" % code.hex())
        return None

    def check_tables(self, expectation, places):
        tables = self.tables_rva()
        if tables is None:
            return
        if not self.in_data(tables):
            self.fail("the tables are not in the .data section")
        p = self.pointer_size
        field = lambda index, what: self.pointer(tables + index * p, what)
        modifiers = field(0, "the modifiers")
        char_tables = field(1, "the character tables")
        field(2, "the dead keys")
        key_names = field(3, "the key names")
        key_names_ext = field(4, "the extended key names")
        dead_names = field(5, "the dead-key names")
        scan_table = field(6, "the scan-code table")
        e0_table = field(8, "the 0xE0 table")
        e1_table = field(9, "the 0xE1 table")
        self.pointer(modifiers, "the modifier keys")
        (count,) = struct.unpack_from("<B", self.read(tables + 7 * p, 1))
        (flags,) = struct.unpack_from("<I", self.read(tables + 10 * p, 4))
        ligatures = int.from_bytes(self.read(tables + 10 * p + 8, p), "little")
        if count != SCAN_TABLE_SIZE or flags != expectation["localeflags"] or ligatures != 0:
            self.fail("scan-code table size %d, locale flags 0x%08x, ligatures 0x%x" % (count, flags, ligatures))

        for names, what in ((key_names, "key name"), (key_names_ext, "extended key name")):
            while self.read(names, 1)[0] != 0:
                self.pointer(names + p, what)
                names += 2 * p
        while int.from_bytes(self.read(dead_names, p), "little") != 0:
            self.pointer(dead_names, "dead-key name")
            dead_names += p

        scan = list(struct.unpack_from("<%dH" % SCAN_TABLE_SIZE, self.read(scan_table, 2 * SCAN_TABLE_SIZE)))
        if scan != expectation["scan"]:
            self.fail("scan-code table differs from the source")
        for rva, kind in ((e0_table, "e0"), (e1_table, "e1")):
            expected = b"".join(struct.pack("<BxH", scan_code, vk) for scan_code, vk in expectation[kind]) + bytes(4)
            if self.read(rva, len(expected)) != expected:
                self.fail("%s table differs from the source" % kind)
        decimal = None
        while True:
            entries = self.pointer(char_tables, "a character table")
            if entries == 0:
                break
            entry_size = self.read(char_tables + p + 1, 1)[0]
            while self.read(entries, 1)[0] != 0:
                if self.read(entries, 1)[0] == VK_DECIMAL:
                    decimal = entries + 2
                entries += entry_size
            char_tables += 2 * p
        if decimal is None or self.read(decimal, 4) != b".\0.\0":
            self.fail("the decimal key does not type points")
            return

        offset = self.pe.get_offset_from_rva
        found = {"scan-table": offset(scan_table), "e0-table": offset(e0_table), "e1-table": offset(e1_table),
                 "decimal-characters": offset(decimal)}
        if found != places:
            self.fail("sidecar places %s, tables at %s" % (places, found))


def main():
    folder, names = sys.argv[1], sys.argv[2:]
    failures = []
    checked = 0
    for name in names:
        expectation = read_expectation(os.path.join(folder, name + ".expect"))
        for processor in PROCESSORS:
            path = os.path.join(folder, processor, name + ".DLL")
            library = Library(path, processor, failures)
            library.check_headers()
            library.check_resources(name, expectation)
            library.check_tables(expectation, read_sidecar(os.path.join(folder, processor, name + ".txt")))
            checked += 1
    for failure in failures:
        print(failure)
    print("%d libraries checked, %d failures" % (checked, len(failures)))
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
