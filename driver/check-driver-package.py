#!/usr/bin/env python3
"""Checks the driver packages before they are packed, the way Windows Vista and
a driver engineer would look at them first, and prints one line per problem:

    FILE: rule: what was found

Each package is a folder that holds exactly the three files the setup installs
for its architecture (vxa38.sys/.inf/.cat for x86, vxa3864.* for amd64), and
its INF is one that the device library takes as the product's: the names,
the provider and the hardware id come from product-package.txt beside this
script, which the library is built from too. A placeholder package (the
default build's stand-ins) is checked like any other except for its driver
image and catalog, which are not real.

    check-driver-package.py [--test-build] [--placeholder ARCH]... [--stamp FILE] ARCH=FOLDER...

--test-build accepts an amd64 catalog that has no signer. --stamp touches FILE
when every package passes, and always writes FILE.d, a make depfile naming the
files the check reads, so that a build runs it again when one changes or goes.
Exit status 1 when a package has a problem.
"""
import argparse
import hashlib
import os
import re
import struct
import subprocess
import sys

PRODUCT_PACKAGE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "product-package.txt")


def read_product_package(path):
    """The key = value lines of product-package.txt."""
    facts = {}
    with open(path, encoding="ascii") as source:
        for line in source:
            line = line.strip()
            if line and not line.startswith("#"):
                key, _, value = line.partition("=")
                facts[key.strip()] = value.strip()
    return facts


PRODUCT = read_product_package(PRODUCT_PACKAGE)
PROVIDER = PRODUCT["provider"]
HARDWARE_ID = PRODUCT["hardware_id"]
MAX_INF_BYTES = int(PRODUCT["max_inf_bytes"])
NET_CLASS_GUID = "{4d36e972-e325-11ce-bfc1-08002be10318}"

ARCHES = {
    "x86": {"decoration": "ntx86", "platform": "x86", "machine": 0x14C, "machine_name": "i386"},
    "amd64": {"decoration": "ntamd64", "platform": "amd64", "machine": 0x8664, "machine_name": "AMD64"},
}
for _name, _arch in ARCHES.items():
    _arch.update({ext: PRODUCT[f"{_name}.{ext}"] for ext in ("sys", "inf", "cat")})
MACHINE_NAMES = {0x14C: "i386", 0x8664: "AMD64", 0x200: "IA64", 0x1C0: "ARM", 0xAA64: "ARM64"}
NATIVE_SUBSYSTEM = 1

# Directives whose values name other sections of the INF, and for AddService and
# AddInterface, which of their fields do.
SECTION_LIST_DIRECTIVES = {"addreg", "delreg", "copyfiles", "delfiles", "renfiles", "bitreg",
                           "updateinis", "updateinifields", "ini2reg", "logconfig", "addproperty",
                           "delproperty", "registerdlls", "unregisterdlls"}
SECTION_FIELD_DIRECTIVES = {"addservice": (2, 3), "addinterface": (2,), "delservice": (3,)}

OID_SIGNED_DATA = "1.2.840.113549.1.7.2"
OID_CTL = "1.3.6.1.4.1.311.10.1"
OID_CATALOG_MEMBER = "1.3.6.1.4.1.311.12.1.2"
CATALOG_MEMBER_FORMATS = {OID_CATALOG_MEMBER: "v1", "1.3.6.1.4.1.311.12.1.3": "v2"}
OID_INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
DIGEST_OIDS = {"1.3.14.3.2.26": "sha1", "2.16.840.1.101.3.4.2.1": "sha256",
               "2.16.840.1.101.3.4.2.2": "sha384", "2.16.840.1.101.3.4.2.3": "sha512",
               "1.2.840.113549.2.5": "md5"}
DIGEST_NAMES = {"sha1": "SHA-1", "sha256": "SHA-256", "sha384": "SHA-384", "sha512": "SHA-512", "md5": "MD5"}


class Report:
    def __init__(self):
        self.problems = []

    def add(self, path, rule, found):
        self.problems.append(f"{path}: {rule}: {found}")


# --- INF ------------------------------------------------------------------------------

def decode_inf(data):
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8")
    return data.decode("latin-1")


def split_fields(text):
    """Splits a line's value at commas outside quotes; quotes removed, "" kept as "."""
    fields, current, quoted, i = [], "", False, 0
    while i < len(text):
        char = text[i]
        if char == '"':
            if quoted and text[i + 1:i + 2] == '"':
                current += '"'
                i += 1
            else:
                quoted = not quoted
        elif char == "," and not quoted:
            fields.append(current.strip())
            current = ""
        else:
            current += char
        i += 1
    fields.append(current.strip())
    return fields


def find_unquoted(line, wanted):
    """Index of the first `wanted` outside double quotes, -1 when there is none."""
    quoted = False
    for i, char in enumerate(line):
        if char == '"':
            quoted = not quoted
        elif char == wanted and not quoted:
            return i
    return -1


def strip_comment(line):
    i = find_unquoted(line, ";")
    return line if i < 0 else line[:i]


def split_key(line):
    """(key, value) of a line, key None when the line has no '=' outside quotes."""
    i = find_unquoted(line, "=")
    if i < 0:
        return None, line
    return line[:i].strip().strip('"'), line[i + 1:]


class Inf:
    """The sections of an INF (names compared without case, repeated sections
    merged, as SetupAPI reads them), each a list of (key, fields)."""

    def __init__(self, text):
        self.sections = {}
        current = None
        for line in self._logical_lines(text):
            header = re.fullmatch(r"\[([^\]]*)\]", line)
            if header:
                current = self.sections.setdefault(header.group(1).strip().lower(), [])
            elif current is not None:
                key, value = split_key(line)
                current.append((key, split_fields(value)))
        self.strings = {key.lower(): fields[0] for key, fields in self.sections.get("strings", []) if key}

    @staticmethod
    def _logical_lines(text):
        pending = ""
        for raw in text.splitlines():
            line = strip_comment(raw).strip()
            if line.endswith("\\") and not line.endswith("\\\\"):
                pending += line[:-1]
                continue
            line, pending = (pending + line).strip(), ""
            if line:
                yield line

    def has(self, section):
        return section.lower() in self.sections

    def lines(self, section):
        return self.sections.get(section.lower(), [])

    def expand(self, text):
        return re.sub(r"%([^%]*)%", lambda m: self.strings.get(m.group(1).lower(), m.group(0))
                      if m.group(1) else "%", text)

    def value(self, section, key):
        """The first field of the first line named key, with strings expanded, or None."""
        fields = self.fields(section, key)
        return None if fields is None else self.expand(fields[0])

    def line_text(self, section, key):
        """The first line named key as SetupGetLineText answers it: its fields
        with strings expanded, joined by commas; None when there is none."""
        fields = self.fields(section, key)
        return None if fields is None else ",".join(self.expand(field) for field in fields)

    def fields(self, section, key):
        return next((f for k, f in self.lines(section) if k and k.lower() == key.lower()), None)

    def decorated_section(self, name, platform):
        """The install section SetupAPI picks for the platform: name.NTplatform, name.NT or name."""
        for candidate in (f"{name}.NT{platform}", f"{name}.NT", name):
            if self.has(candidate):
                return candidate
        return None


def check_version(inf, path, arch, report):
    signature = inf.value("Version", "Signature")
    if signature is None or signature.lower() != "$windows nt$":
        report.add(path, "Signature", f'[Version] Signature is {quoted(signature)}, not "$Windows NT$"')
    klass = inf.value("Version", "Class")
    if klass is None or klass.lower() != "net":
        report.add(path, "Class", f"[Version] Class is {quoted(klass)}, not Net")
    guid = inf.value("Version", "ClassGuid")
    if guid is None or guid.lower() != NET_CLASS_GUID:
        report.add(path, "ClassGuid", f"[Version] ClassGuid is {quoted(guid)}, not the Net class {NET_CLASS_GUID}")
    check_provider(inf, path, report)
    check_catalog_file(inf, path, arch, report)
    check_driver_ver(inf, path, report)
    lockdown = inf.value("Version", "PnpLockdown")
    if lockdown != "1":
        report.add(path, "PnpLockdown", f"[Version] PnpLockdown is {quoted(lockdown)}, not 1")


def check_catalog_file(inf, path, arch, report):
    """The catalog Windows verifies the package with (the key decorated for the
    platform first) and the one the device library reads (the plain key) are
    the package's."""
    catalog = None
    for key in (f"CatalogFile.NT{arch['platform']}", "CatalogFile.NT", "CatalogFile"):
        catalog = inf.value("Version", key)
        if catalog is not None:
            break
    expected = arch["cat"]
    plain = inf.line_text("Version", "CatalogFile")
    if catalog is None:
        report.add(path, "CatalogFile", f"[Version] names no catalog (expected {expected})")
    elif catalog.lower() != expected.lower():
        report.add(path, "CatalogFile", f"[Version] names {quoted(catalog)}, not the package's {expected}")
    elif not ascii_equal_no_case(plain, expected):
        report.add(path, "CatalogFile", f"[Version] CatalogFile is {quoted(plain)}, not {expected}: "
                                        f"the device library reads the undecorated key")


def ascii_equal_no_case(value, expected):
    """The device library's comparison of an INF value with one of its names."""
    return value is not None and value.isascii() and value.lower() == expected.lower()


def check_provider(inf, path, report):
    provider = inf.line_text("Version", "Provider")
    if not ascii_equal_no_case(provider, PROVIDER):
        report.add(path, "Provider", f"[Version] Provider is {quoted(provider)}, not {PROVIDER}: the device "
                                     f"library installs and removes only {PROVIDER}'s packages (in any case)")


def check_driver_ver(inf, path, report):
    fields = next((f for k, f in inf.lines("Version") if k and k.lower() == "driverver"), None)
    if fields is None:
        report.add(path, "DriverVer", "[Version] has no DriverVer")
        return
    date = re.fullmatch(r"(\d{1,2})/(\d{1,2})/(\d{4})", inf.expand(fields[0]))
    version = inf.expand(fields[1]) if len(fields) > 1 else "0"
    if not date or not 1 <= int(date.group(1)) <= 12 or not 1 <= int(date.group(2)) <= 31:
        report.add(path, "DriverVer", f"date {quoted(fields[0])} is not mm/dd/yyyy")
    if not re.fullmatch(r"\d{1,5}(\.\d{1,5}){0,3}", version):
        report.add(path, "DriverVer", f"version {quoted(version)} is not w.x.y.z")


def decoration_applies_to_vista(decoration, arch):
    """NT<arch>[.major[.minor[...]]]: the architecture's, and for a Windows no later than 6.0."""
    parts = decoration.lower().split(".")
    if parts[0] != arch["decoration"]:
        return False
    version = [int(part) if part.isdigit() else 0 for part in (parts[1:3] + ["0", "0"])[:2]]
    return tuple(version) <= (6, 0)


def models_sections(inf, path, arch, report):
    """The models sections [Manufacturer] names for the architecture."""
    found, decorations = [], set()
    for _, fields in inf.lines("Manufacturer"):
        name = fields[0]
        for decoration in fields[1:]:
            decorations.add(decoration)
            if decoration_applies_to_vista(decoration, arch):
                found.append(f"{name}.{decoration}")
    if not found:
        seen = ", ".join(sorted(decorations)) or "none"
        report.add(path, "models", f"[Manufacturer] has no models section decorated NT{arch['platform']} for Vista "
                                   f"(decorations: {seen})")
    return found


def check_models(inf, path, arch, report):
    """The architecture's models list exactly the adapter's hardware id, and
    their install sections exist."""
    ids, listed = [], False
    for models in models_sections(inf, path, arch, report):
        if not inf.has(models):
            report.add(path, "sections", f"[{models}], named by [Manufacturer], is missing")
            continue
        listed = True
        for _, fields in inf.lines(models):
            ids += [inf.expand(field) for field in fields[1:] if field]
            if inf.decorated_section(fields[0], arch["platform"]) is None:
                report.add(path, "sections", f"[{fields[0]}], named by [{models}], is missing")
    if not listed:
        return
    others = [hardware_id for hardware_id in ids if hardware_id != HARDWARE_ID]
    if not ids:
        report.add(path, "hardware id", f"no models section of NT{arch['platform']} lists {HARDWARE_ID}")
    elif HARDWARE_ID not in ids:
        report.add(path, "hardware id", f"the models list {', '.join(ids)}, not {HARDWARE_ID}")
    elif others:
        report.add(path, "hardware id", f"the models also list {', '.join(others)}, which the setup "
                                        f"does not remove")


def referenced_sections(inf):
    """(section, by) for every section that a directive of the INF names."""
    for section, lines in inf.sections.items():
        for key, fields in lines:
            directive = (key or "").lower()
            if directive in SECTION_LIST_DIRECTIVES:
                names = [f for f in fields if f and not (directive == "copyfiles" and f.startswith("@"))]
            else:
                names = [fields[i] for i in SECTION_FIELD_DIRECTIVES.get(directive, ()) if i < len(fields)]
            for name in names:
                if name:
                    yield name, f"{key} in [{section}]"


def check_sections(inf, path, report):
    for name, by in referenced_sections(inf):
        if not inf.has(name):
            report.add(path, "sections", f"[{name}], named by {by}, is missing")


def source_disks_files(inf, arch):
    """{file name: section} of [SourceDisksFiles] and its decoration for the architecture."""
    return {key.lower(): (key, f"[{section}]") for section in ("SourceDisksFiles", f"SourceDisksFiles.{arch['platform']}")
            for key, _ in inf.lines(section) if key}


def copied_files(inf):
    """(file name, where) of every file that a copy section or CopyFiles=@file copies."""
    for section, lines in inf.sections.items():
        for key, fields in lines:
            if (key or "").lower() != "copyfiles":
                continue
            for field in fields:
                if field.startswith("@"):
                    yield inf.expand(field[1:]), f"CopyFiles in [{section}]"
                elif inf.has(field):
                    yield from ((inf.expand(entry[1] if len(entry) > 1 and entry[1] else entry[0]), f"[{field}]")
                                for _, entry in inf.lines(field) if entry and entry[0])


def check_files(inf, path, folder, arch, report):
    """The INF needs no file beyond the package, and has every one it lists."""
    package, listed = package_names(arch), source_disks_files(inf, arch)
    needed = list(listed.values()) + list(copied_files(inf))
    for name in {name.lower() for name, _ in needed} - package:
        where = ", ".join(sorted({w for n, w in needed if n.lower() == name}))
        report.add(path, "package", f"{where} needs {name}, which is not one of the files the setup "
                                    f"installs ({', '.join(sorted(package))})")
    for name, where in listed.values():
        if name.lower() in package and not os.path.isfile(os.path.join(folder, name)):
            report.add(path, "SourceDisksFiles", f"{where} lists {name}, which is not in {folder}")
    for name, where in copied_files(inf):
        if name.lower() in package and name.lower() not in listed:
            report.add(path, "SourceDisksFiles", f"{where} copies {name}, which [SourceDisksFiles] does not list")


def check_inf(path, folder, arch, report):
    with open(path, "rb") as source:
        data = source.read()
    if len(data) > MAX_INF_BYTES:
        report.add(path, "size", f"{len(data)} bytes, more than the {MAX_INF_BYTES} bytes the device library "
                                 f"reads of an INF")
    inf = Inf(decode_inf(data))
    check_version(inf, path, arch, report)
    check_models(inf, path, arch, report)
    check_sections(inf, path, report)
    check_files(inf, path, folder, arch, report)


# --- Driver image -------------------------------------------------------------------------

def pe_header(data):
    """(machine, optional-header offset) of a PE image, or None."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if pe + 24 + 70 > len(data) or data[pe:pe + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe + 4)[0], pe + 24


def check_image(path, arch, report):
    with open(path, "rb") as image:
        data = image.read()
    header = pe_header(data)
    if header is None:
        report.add(path, "image", "not a PE image")
        return
    machine, optional = header
    if machine != arch["machine"]:
        found = MACHINE_NAMES.get(machine, "unknown")
        report.add(path, "image", f"machine {found} (0x{machine:04x}), not {arch['machine_name']}")
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    if subsystem != NATIVE_SUBSYSTEM:
        report.add(path, "image", f"subsystem {subsystem}, not native ({NATIVE_SUBSYSTEM}): not a kernel driver")


def authenticode_digest(data, algorithm):
    """The hash of a PE image as Authenticode computes it: the whole file but
    the checksum, the certificate-table directory entry and the certificates."""
    _, optional = pe_header(data)
    magic = struct.unpack_from("<H", data, optional)[0]
    cert_entry = optional + (96 if magic == 0x10B else 112) + 4 * 8
    cert_offset, cert_size = struct.unpack_from("<II", data, cert_entry)
    end = cert_offset if cert_offset and cert_size else len(data)
    digest = hashlib.new(algorithm)
    digest.update(data[:optional + 64])
    digest.update(data[optional + 68:cert_entry])
    digest.update(data[cert_entry + 8:end])
    return digest.digest()


# --- Catalog ------------------------------------------------------------------------------

class DerError(Exception):
    pass


def der_items(data, start=0, end=None):
    """(tag, content start, content end) of each element between start and end."""
    end = len(data) if end is None else end
    pos = start
    while pos < end:
        if pos + 2 > end:
            raise DerError("truncated element")
        tag, size = data[pos], data[pos + 1]
        pos += 2
        if size == 0x80:
            raise DerError("indefinite length (BER, not DER)")
        if size & 0x80:
            count = size & 0x7F
            size = int.from_bytes(data[pos:pos + count], "big")
            pos += count
        if pos + size > end:
            raise DerError("element runs past its container")
        yield tag, pos, pos + size
        pos += size


def der_children(data, element):
    return list(der_items(data, element[1], element[2]))


def der_oid(data, element):
    body = data[element[1]:element[2]]
    parts, value = [body[0] // 40, body[0] % 40], 0
    for byte in body[1:]:
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            parts.append(value)
            value = 0
    return ".".join(map(str, parts))


def signed_data(data):
    """The SignedData elements of a DER ContentInfo; DerError when it is none."""
    top = list(der_items(data))
    if len(top) != 1 or top[0][0] != 0x30:
        raise DerError("not one DER sequence")
    info = der_children(data, top[0])
    if len(info) < 2 or info[0][0] != 0x06 or der_oid(data, info[0]) != OID_SIGNED_DATA:
        raise DerError("not PKCS #7 SignedData")
    explicit = der_children(data, info[1])
    if len(explicit) != 1 or explicit[0][0] != 0x30:
        raise DerError("SignedData has no body")
    return der_children(data, explicit[0])


class CatalogFacts:
    """What a catalog holds: its signer count and the first signer's digest
    algorithm; with a trust list, the list's member format (the OID of its
    subject algorithm) and the (algorithm, bytes) digests of its members'
    indirect-data attributes (digests None without a list)."""

    def __init__(self, data):
        body = signed_data(data)
        signers = der_children(data, body[-1]) if body[-1][0] == 0x31 else []
        self.signer_count = len(signers)
        self.signer_digest = self._digest_algorithm(data, signers[0]) if signers else None
        self.member_format, self.digests = None, None
        encapsulated = der_children(data, body[2])
        if not encapsulated or der_oid(data, encapsulated[0]) != OID_CTL:
            return
        content = der_children(data, encapsulated[1])[0] if len(encapsulated) > 1 else None
        if content and content[0] == 0x04:  # CMS wraps it in an octet string
            content = next(der_items(data, content[1], content[2]))
        self.digests = set(indirect_digests(data, content)) if content else set()
        self.member_format = self._subject_algorithm(data, content) if content else None

    @staticmethod
    def _digest_algorithm(data, signer):
        """SignerInfo: version, signer id, then the digest's AlgorithmIdentifier."""
        algorithm = der_oid(data, der_children(data, der_children(data, signer)[2])[0])
        return DIGEST_OIDS.get(algorithm, algorithm)

    @staticmethod
    def _subject_algorithm(data, trust_list):
        """The OID of the list's subject algorithm: the one AlgorithmIdentifier
        among the list's fields whose OID is a catalog member format."""
        for field in der_children(data, trust_list):
            parts = der_children(data, field) if field[0] == 0x30 else []
            if parts and parts[0][0] == 0x06 and der_oid(data, parts[0]) in CATALOG_MEMBER_FORMATS:
                return der_oid(data, parts[0])
        return None


def indirect_digests(data, element):
    """Every (algorithm, digest) of the indirect-data attributes below element."""
    if element[0] not in (0x30, 0x31, 0xA0):
        return
    children = der_children(data, element)
    if (element[0] == 0x30 and len(children) == 2 and children[0][0] == 0x06
            and der_oid(data, children[0]) == OID_INDIRECT_DATA and children[1][0] == 0x31):
        for content in der_children(data, children[1]):
            parts = der_children(data, content)
            digest_info = der_children(data, parts[1])
            algorithm = der_oid(data, der_children(data, digest_info[0])[0])
            yield DIGEST_OIDS.get(algorithm, algorithm), data[digest_info[1][1]:digest_info[1][2]]
        return
    for child in children:
        yield from indirect_digests(data, child)


def file_digests(path, algorithm):
    """The digests a catalog may record for a file: its plain hash and, for a
    PE image, its Authenticode hash."""
    with open(path, "rb") as member:
        data = member.read()
    digests = {hashlib.new(algorithm, data).digest()}
    if pe_header(data):
        digests.add(authenticode_digest(data, algorithm))
    return digests


def openssl_succeeds(*args):
    return subprocess.run(["openssl", *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def signature_mismatch(path):
    """Whether the catalog's signature does not match its content (the chain is
    Windows' matter). A catalog of the PKCS #7 v1.5 layout, whose list is not
    wrapped in an octet string, is beyond openssl's CMS reader: not judged."""
    if not openssl_succeeds("cms", "-cmsout", "-noout", "-inform", "DER", "-in", path):
        return False
    return not openssl_succeeds("cms", "-verify", "-noverify", "-binary", "-inform", "DER", "-in", path,
                                "-out", os.devnull)


def check_listed_members(path, facts, members, report):
    """Vista finds a file in a catalog by its SHA-1 hash, in a list of member
    format v1: the format and hashes of catalogs made for Windows 8 and later
    (v2, SHA-256) leave the package unsigned there."""
    if facts.member_format != OID_CATALOG_MEMBER:
        found = CATALOG_MEMBER_FORMATS.get(facts.member_format, "unknown")
        report.add(path, "catalog", f"member format {found} ({facts.member_format or 'none found'}), not v1: Vista "
                                    f"finds a file only in a v1 list, by its SHA-1 hash")
        return
    algorithms = {algorithm for algorithm, _ in facts.digests if algorithm in hashlib.algorithms_available}
    for member in members:
        listed_by = [a for a in sorted(algorithms) if any((a, d) in facts.digests for d in file_digests(member, a))]
        name = os.path.basename(member)
        if not listed_by:
            report.add(path, "catalog", f"lists no hash of {name} as it is in the package")
        elif "sha1" not in listed_by:
            found = " and ".join(DIGEST_NAMES.get(a, a) for a in listed_by)
            report.add(path, "catalog", f"lists {name} by its {found} hash only: Vista finds a file in a catalog "
                                        f"by its SHA-1 hash")


def check_catalog(path, members, arch, test_build, report):
    with open(path, "rb") as catalog:
        data = catalog.read()
    try:
        if not openssl_succeeds("pkcs7", "-inform", "DER", "-in", path, "-noout"):
            raise DerError("openssl cannot read it as DER-encoded PKCS #7")
        facts = CatalogFacts(data)
    except (DerError, IndexError, ValueError) as error:
        report.add(path, "catalog", f"not a PKCS #7 SignedData catalog: {error}")
        return
    if facts.digests is not None:
        check_listed_members(path, facts, members, report)
    if facts.signer_count == 0 and arch["platform"] == "amd64" and not test_build:
        report.add(path, "signature", "the catalog has no signer: Vista x64 loads only signed kernel code "
                                      "(a test build says -DWIZ_DRIVER_TEST_BUILD=ON)")
    elif facts.signer_count and signature_mismatch(path):
        report.add(path, "signature", "the signature does not match the catalog's content")
    elif facts.signer_count and arch["platform"] == "amd64" and facts.signer_digest != "sha1":
        found = DIGEST_NAMES.get(facts.signer_digest, facts.signer_digest)
        report.add(path, "signature", f"signed with a {found} digest, not SHA-1: Vista x64 checks only SHA-1 "
                                      f"signatures of kernel code")


# --- Package ------------------------------------------------------------------------------

def package_names(arch):
    return {arch[ext].lower() for ext in ("sys", "inf", "cat")}


def check_package(folder, arch, placeholder, test_build, report):
    names = package_names(arch)
    if not os.path.isdir(folder):
        report.add(folder, "package", "not a folder")
        return
    present = {name.lower(): name for name in os.listdir(folder)}
    for name in sorted(set(present) - names):
        report.add(os.path.join(folder, present[name]), "package",
                   f"not one of the files the setup installs ({', '.join(sorted(names))})")
    for name in sorted(names - set(present)):
        report.add(os.path.join(folder, name), "package", "missing")
    found = {name: os.path.join(folder, present[name]) for name in names & set(present)}
    path = {ext: found.get(arch[ext].lower()) for ext in ("sys", "inf", "cat")}
    if path["inf"]:
        check_inf(path["inf"], folder, arch, report)
    if placeholder:
        return
    if path["sys"]:
        check_image(path["sys"], arch, report)
    if path["cat"]:
        members = [path[ext] for ext in ("sys", "inf") if path[ext]]
        check_catalog(path["cat"], members, arch, test_build, report)


def package_inputs(folder, arch):
    """The files the check reads of a package, as named in the folder when they
    are there, and the folder itself (for a file added to it)."""
    present = {name.lower(): name for name in os.listdir(folder)} if os.path.isdir(folder) else {}
    names = [present.get(arch[ext].lower(), arch[ext]) for ext in ("sys", "inf", "cat")]
    return [folder] + [os.path.join(folder, name) for name in names]


def write_depfile(path, target, inputs):
    """A make rule naming the inputs, escaped as make and ninja read depfiles."""
    def escaped(name):
        return name.replace("$", "$$").replace("#", "\\#").replace(" ", "\\ ")
    with open(path, "w") as depfile:
        depfile.write(f"{escaped(target)}: " + " \\\n  ".join(escaped(name) for name in inputs) + "\n")


def quoted(value):
    return "missing" if value is None else f'"{value}"'


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--test-build", action="store_true", help="accept an amd64 catalog without signer")
    parser.add_argument("--placeholder", action="append", default=[], choices=sorted(ARCHES))
    parser.add_argument("--stamp", help="touched when every package passes; FILE.d names what was read")
    parser.add_argument("packages", nargs="+", metavar="ARCH=FOLDER")
    args = parser.parse_intermixed_args()
    if args.stamp and os.path.exists(args.stamp):
        os.remove(args.stamp)
    report = Report()
    inputs = [os.path.abspath(__file__), PRODUCT_PACKAGE]
    for package in args.packages:
        name, _, folder = package.partition("=")
        if name not in ARCHES or not folder:
            parser.error(f"{package}: expected x86=FOLDER or amd64=FOLDER")
        check_package(folder, ARCHES[name], name in args.placeholder, args.test_build, report)
        inputs += package_inputs(folder, ARCHES[name])
    if args.stamp:
        write_depfile(args.stamp + ".d", args.stamp, inputs)
    if args.placeholder:
        arches = [name for name in ARCHES if name in args.placeholder]
        print(f"Driver package {', '.join(arches)}: placeholders, not real drivers; "
              f"skipped the checks of the .sys image and the catalog")
    for problem in report.problems:
        print(problem, file=sys.stderr)
    if args.stamp and not report.problems:
        open(args.stamp, "w").close()
    return 1 if report.problems else 0


if __name__ == "__main__":
    sys.exit(main())
