#!/usr/bin/env python3
"""Makes driver packages for the tests: a tiny native-subsystem driver image
built with the cross compilers, an INF adapted from the project's own, and a
catalog written by openssl (PKCS #7 SignedData).

A catalog lists its members' hashes in a certificate trust list; openssl signs
that list (cms -sign with the list as the encapsulated content) or, with no
signer, wraps only a certificate (crl2pkcs7, which lists no hashes). By
default the list is in member format v1 with SHA-1 hashes and signed with a
SHA-1 digest, as a catalog for Vista is made; the tests also make the v2
lists with SHA-256 hashes and the SHA-256 signatures of newer tools.

    driverpackage.py FOLDER ARCH (--signer CERT KEY | --certificate CERT)
"""
import argparse
import hashlib
import importlib.machinery
import os
import re
import subprocess
import tempfile
import types

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_ROOT = os.path.dirname(os.path.dirname(HERE))
CHECKER_PATH = os.path.join(SOURCE_ROOT, "driver", "check-driver-package.py")


def load_checker():
    """The build's package checker as a module (its file name is not an identifier)."""
    loader = importlib.machinery.SourceFileLoader("check_driver_package", CHECKER_PATH)
    module = types.ModuleType(loader.name)
    module.__file__ = CHECKER_PATH
    loader.exec_module(module)
    return module


checker = load_checker()

ARCHES = {
    "x86": {"base": "vxa38", "compiler": "i686-w64-mingw32-gcc", "entry": "_DriverEntry@8"},
    "amd64": {"base": "vxa3864", "compiler": "x86_64-w64-mingw32-gcc", "entry": "DriverEntry"},
}

DRIVER_SOURCE = ("long __stdcall DriverEntry(void *driver, void *registry)\n"
                 "{ (void)driver; (void)registry; return 0; }\n")

OID_SIGNED_DATA = "1.2.840.113549.1.7.2"
OID_CTL = "1.3.6.1.4.1.311.10.1"
OID_CATALOG_LIST = "1.3.6.1.4.1.311.12.1.1"
OID_CATALOG_MEMBER = "1.3.6.1.4.1.311.12.1.2"
OID_CATALOG_MEMBER2 = "1.3.6.1.4.1.311.12.1.3"
OID_INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
OID_PE_IMAGE_DATA = "1.3.6.1.4.1.311.2.1.15"
OID_FLAT_FILE_DATA = "1.3.6.1.4.1.311.2.1.25"
OID_SHA1 = "1.3.14.3.2.26"
OID_SHA256 = "2.16.840.1.101.3.4.2.1"
DIGEST_OIDS = {"sha1": OID_SHA1, "sha256": OID_SHA256}


# --- DER, just what a catalog needs ---------------------------------------------------

def der(tag, content):
    size = len(content)
    if size < 0x80:
        head = bytes([size])
    else:
        raw = size.to_bytes((size.bit_length() + 7) // 8, "big")
        head = bytes([0x80 | len(raw)]) + raw
    return bytes([tag]) + head + content


def der_oid(dotted):
    parts = [int(p) for p in dotted.split(".")]
    body = bytearray([parts[0] * 40 + parts[1]])
    for part in parts[2:]:
        chunk = [part & 0x7F]
        part >>= 7
        while part:
            chunk.append(0x80 | (part & 0x7F))
            part >>= 7
        body += bytes(reversed(chunk))
    return der(0x06, bytes(body))


def seq(*items):
    return der(0x30, b"".join(items))


def der_set(*items):
    return der(0x31, b"".join(items))


# --- Hashes as a catalog records them ---------------------------------------------------

def member_entry(name, data, algorithm):
    """One member of the trust list: tagged with its hash, and the hash in an
    indirect-data attribute as the catalog tools write it."""
    is_pe = checker.pe_header(data) is not None
    digest = checker.authenticode_digest(data, algorithm) if is_pe else hashlib.new(algorithm, data).digest()
    kind = OID_PE_IMAGE_DATA if is_pe else OID_FLAT_FILE_DATA
    value = seq(der(0x03, b"\x00"), der(0xA0, der(0xA2, der(0x80, "<<<Obsolete>>>".encode("utf-16-be")))))
    indirect = seq(seq(der_oid(kind), value),
                   seq(seq(der_oid(DIGEST_OIDS[algorithm]), der(0x05, b"")), der(0x04, digest)))
    tag = digest.hex().upper().encode("utf-16-le")
    return seq(der(0x04, tag), der_set(seq(der_oid(OID_INDIRECT_DATA), der_set(indirect))))


def trust_list(members, member_format=1, algorithm="sha1"):
    """A certificate trust list in member format 1 or 2 naming each (name,
    bytes) member by its hash."""
    member_oid = OID_CATALOG_MEMBER if member_format == 1 else OID_CATALOG_MEMBER2
    return seq(seq(der_oid(OID_CATALOG_LIST)), der(0x04, hashlib.sha1(b"".join(d for _, d in members)).digest()[:16]),
               der(0x17, b"090615000000Z"), seq(der_oid(member_oid), der(0x05, b"")),
               seq(*(member_entry(name, data, algorithm) for name, data in members)))


# --- The package -------------------------------------------------------------------------

def build_driver(arch, output):
    """A native-subsystem image of the architecture whose entry point returns success."""
    tools = ARCHES[arch]
    with tempfile.TemporaryDirectory() as scratch:
        source = os.path.join(scratch, "driver.c")
        with open(source, "w") as out:
            out.write(DRIVER_SOURCE)
        subprocess.run([tools["compiler"], "-Os", "-s", "-nostdlib", "-Wl,--subsystem,native",
                        "-Wl,--entry," + tools["entry"], "-Wl,--no-insert-timestamp", source, "-o", output],
                       check=True)


def adapt_inf(arch, output, version="1.0.38.1"):
    """The project's INF of the architecture with a driver version of its own."""
    with open(os.path.join(SOURCE_ROOT, "driver", ARCHES[arch]["base"] + ".inf"), "rb") as source:
        text = source.read().decode("ascii")
    text, count = re.subn(r"(?m)^DriverVer   = [^\r\n]*", "DriverVer   = 07/01/2009," + version, text)
    if count != 1:
        raise ValueError("the project's INF has no DriverVer line to adapt")
    with open(output, "wb") as out:
        out.write(text.encode("ascii"))


def openssl(*args, data=None):
    return subprocess.run(["openssl", *args], input=data, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE).stdout


def make_certificate(folder, name="Kestrin Test Driver Signing"):
    """A throwaway self-signed certificate and its key: (cert.pem, key.pem)."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + name,
            "-keyout", key, "-out", cert)
    return cert, key


def unsigned_legacy_catalog(members):
    """A catalog without signer in the PKCS #7 v1.5 layout of the Windows catalog
    tools: the trust list right inside the content, not in an octet string."""
    content = seq(der_oid(OID_CTL), der(0xA0, trust_list(members)))
    return seq(der_oid(OID_SIGNED_DATA), der(0xA0, seq(der(0x02, b"\x01"), der_set(), content, der_set())))


def osslsign_catalog(path, signer, digest):
    """Signs the catalog at path in place with osslsigncode, as a vendor signs
    the catalog the Windows tools made."""
    signed = path + ".signed"
    subprocess.run(["osslsigncode", "sign", "-certs", signer[0], "-key", signer[1], "-h", digest, "-in", path,
                    "-out", signed], check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    os.replace(signed, path)


def write_catalog(output, members, signer=None, certificate=None, digest="sha1", member_format=1,
                  algorithm="sha1"):
    """A DER PKCS #7 catalog: signed by signer (cert, key) with the digest over a
    trust list of the members (member format and hash algorithm as given), or,
    with no signer, one that wraps only the given certificate."""
    if signer:
        content = trust_list(members, member_format, algorithm)
        catalog = openssl("cms", "-sign", "-binary", "-nodetach", "-outform", "DER", "-econtent_type", OID_CTL,
                          "-md", digest, "-signer", signer[0], "-inkey", signer[1], "-noattr", data=content)
    else:
        catalog = openssl("crl2pkcs7", "-nocrl", "-certfile", certificate, "-outform", "DER")
    with open(output, "wb") as out:
        out.write(catalog)


def read_members(paths):
    """(file name, bytes) of each file, as a catalog lists them."""
    members = []
    for path in paths:
        with open(path, "rb") as member:
            members.append((os.path.basename(path), member.read()))
    return members


def make_package(folder, arch, signer=None, certificate=None):
    """The three files of the architecture's package in folder; returns their paths."""
    base = ARCHES[arch]["base"]
    os.makedirs(folder, exist_ok=True)
    sys_path, inf_path, cat_path = (os.path.join(folder, base + ext) for ext in (".sys", ".inf", ".cat"))
    build_driver(arch, sys_path)
    adapt_inf(arch, inf_path)
    write_catalog(cat_path, read_members([sys_path, inf_path]), signer, certificate)
    return sys_path, inf_path, cat_path


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder")
    parser.add_argument("arch", choices=sorted(ARCHES))
    parser.add_argument("--signer", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--certificate", help="for a catalog without signer")
    args = parser.parse_args()
    make_package(args.folder, args.arch, args.signer, args.certificate)


if __name__ == "__main__":
    main()
