#!/usr/bin/env python3
"""The build's driver-package check: the project's own INFs pass it, a package
made like a vendor's passes it, and each copy broken in one way is refused
with one line that names the file and the rule."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import driverpackage  # noqa: E402

ARCHES = driverpackage.ARCHES
CHECKER = driverpackage.CHECKER_PATH


def run_checker(*args):
    """(exit status, stdout lines, problem lines) of one run of the checker."""
    result = subprocess.run([sys.executable, CHECKER, *args], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    return result.returncode, result.stdout.splitlines(), result.stderr.splitlines()


SCRATCH = None
SIGNER = None


def setUpModule():
    """One package of each architecture, its catalog signed over the members' hashes."""
    global SCRATCH, SIGNER
    SCRATCH = tempfile.mkdtemp(prefix="package-check.")
    SIGNER = driverpackage.make_certificate(SCRATCH)
    for arch in ARCHES:
        driverpackage.make_package(os.path.join(SCRATCH, "template-" + arch), arch, signer=SIGNER)


def tearDownModule():
    shutil.rmtree(SCRATCH)


class PackageTestCase(unittest.TestCase):
    """Each test works on fresh copies of the module's packages."""

    @property
    def scratch(self):
        return SCRATCH

    @property
    def signer(self):
        return SIGNER

    def package(self, arch):
        folder = tempfile.mkdtemp(dir=self.scratch, prefix=arch + ".")
        os.rmdir(folder)
        shutil.copytree(os.path.join(self.scratch, "template-" + arch), folder)
        return folder

    def path(self, folder, arch, ext):
        return os.path.join(folder, ARCHES[arch]["base"] + ext)

    def sign_again(self, folder, arch, signer="default", **catalog):
        """A new catalog over the package's present files, so that it takes no part in a fault
        (or, with the catalog options of write_catalog, is the fault)."""
        members = driverpackage.read_members(
            self.path(folder, arch, ext) for ext in (".sys", ".inf") if os.path.exists(self.path(folder, arch, ext)))
        driverpackage.write_catalog(self.path(folder, arch, ".cat"), members,
                                    self.signer if signer == "default" else signer, self.signer[0], **catalog)

    def edit_inf(self, folder, arch, old, new):
        path = self.path(folder, arch, ".inf")
        with open(path, "r", newline="") as inf:
            text = inf.read()
        self.assertIn(old, text)
        with open(path, "w", newline="") as inf:
            inf.write(text.replace(old, new))
        self.sign_again(folder, arch)

    def check(self, folder, arch, *options):
        return run_checker(*options, f"{arch}={folder}")

    def assertRefused(self, folder, arch, expected, *options):
        """The check fails with exactly the expected (extension, rule, text) lines."""
        status, _, problems = self.check(folder, arch, *options)
        self.assertEqual(1, status, problems)
        self.assertEqual(len(expected), len(problems), problems)
        for (ext, rule, text), problem in zip(expected, problems):
            self.assertTrue(problem.startswith(f"{self.path(folder, arch, ext)}: {rule}: "), problem)
            self.assertIn(text, problem)

    def assertPasses(self, folder, arch, *options):
        status, _, problems = self.check(folder, arch, *options)
        self.assertEqual((0, []), (status, problems))


class ProjectPackageTest(PackageTestCase):
    def placeholder_package(self, arch):
        folder = os.path.join(self.scratch, "placeholder-" + arch)
        base = ARCHES[arch]["base"]
        subprocess.run([sys.executable, os.path.join(driverpackage.SOURCE_ROOT, "driver", "make-placeholders.py"),
                        folder, base], check=True)
        shutil.copy(os.path.join(driverpackage.SOURCE_ROOT, "driver", base + ".inf"), folder)
        return folder

    def test_the_default_build_passes_and_says_once_what_it_skips(self):
        packages = [f"{arch}={self.placeholder_package(arch)}" for arch in ARCHES]
        status, output, problems = run_checker("--placeholder", "x86", "--placeholder", "amd64", *packages)
        self.assertEqual((0, []), (status, problems))
        self.assertEqual(1, len(output), output)
        self.assertIn("x86, amd64: placeholders", output[0])
        self.assertIn("skipped the checks of the .sys image and the catalog", output[0])

    def test_placeholders_fail_only_the_checks_they_skip(self):
        folder = self.placeholder_package("amd64")
        self.assertRefused(folder, "amd64", [(".sys", "image", "not a PE image"),
                                             (".cat", "catalog", "openssl cannot read it")])

    def test_the_project_infs_pass_in_real_packages(self):
        for arch in ARCHES:
            with self.subTest(arch=arch):
                self.assertPasses(self.package(arch), arch)


class InfRuleTest(PackageTestCase):
    def test_version_section(self):
        cases = [("Class       = Net", "Class       = Display", "Class", '"Display", not Net'),
                 ("ClassGuid   = {4d36e972", "ClassGuid   = {4d36e968", "ClassGuid", "{4d36e968"),
                 ('"$Windows NT$"', '"$Chicago$"', "Signature", '"$Chicago$"'),
                 ("CatalogFile = vxa38.cat\r\n", "", "CatalogFile", "names no catalog"),
                 ("CatalogFile = vxa38.cat", "CatalogFile = vxa38x.cat", "CatalogFile", '"vxa38x.cat", not'),
                 ("DriverVer   = 07/01/2009,1.0.38.1\r\n", "", "DriverVer", "no DriverVer"),
                 ("07/01/2009,1.0.38.1", "2009-07-01,1.0.38.1", "DriverVer", "not mm/dd/yyyy"),
                 ("PnpLockdown = 1", "PnpLockdown = 0", "PnpLockdown", '"0", not 1')]
        for old, new, rule, text in cases:
            with self.subTest(rule=rule, new=new):
                folder = self.package("x86")
                self.edit_inf(folder, "x86", old, new)
                self.assertRefused(folder, "x86", [(".inf", rule, text)])

    def test_what_the_device_library_takes_as_the_products_package(self):
        """The library installs and removes only an INF whose Provider is Orvel (in any
        case) and whose plain CatalogFile names the package's catalog; it reads no
        INF larger than 1 MB. A package it would refuse is refused here."""
        refused = [('Orvel               = "Orvel"', 'Orvel               = "Orvel Networks Inc."', "Provider",
                    '[Version] Provider is "Orvel Networks Inc.", not Orvel'),
                   ("Provider    = %Orvel%", 'Provider    = "Orvel", "Networks"', "Provider",
                    '[Version] Provider is "Orvel,Networks", not Orvel'),
                   ("Provider    = %Orvel%\r\n", "", "Provider", "[Version] Provider is missing, not Orvel"),
                   ("CatalogFile = vxa38.cat", "CatalogFile.NTx86 = vxa38.cat", "CatalogFile",
                    "[Version] CatalogFile is missing, not vxa38.cat: the device library reads the undecorated key"),
                   ("CatalogFile = vxa38.cat", "CatalogFile.NTx86 = vxa38.cat\r\nCatalogFile = vxa3864.cat",
                    "CatalogFile", '[Version] CatalogFile is "vxa3864.cat", not vxa38.cat'),
                   ("[Strings]", ";" * 1024 * 1024 + "\r\n[Strings]", "size",
                    "more than the 1048576 bytes the device library reads of an INF")]
        for old, new, rule, text in refused:
            with self.subTest(rule=rule, new=new[:60]):
                folder = self.package("x86")
                self.edit_inf(folder, "x86", old, new)
                self.assertRefused(folder, "x86", [(".inf", rule, text)])
        accepted = [('Orvel               = "Orvel"', 'Orvel               = "ORVEL"'),
                    ("Provider    = %Orvel%", "Provider    = orvel"),
                    ("CatalogFile = vxa38.cat", "CatalogFile.NTx86 = VXA38.CAT\r\nCatalogFile = vxa38.cat")]
        for old, new in accepted:
            with self.subTest(new=new):
                folder = self.package("x86")
                self.edit_inf(folder, "x86", old, new)
                self.assertPasses(folder, "x86")

    def test_models_decorated_for_another_architecture_or_a_later_windows(self):
        for new in ("NTx86", "NTamd64.6.1"):
            with self.subTest(new):
                folder = self.package("amd64")
                self.edit_inf(folder, "amd64", "NTamd64", new)
                self.assertRefused(folder, "amd64", [(".inf", "models", "no models section decorated NTamd64")])
        # Vista's own decoration, which Wine 8 does not match (docs/wine-differences.md).
        folder = self.package("amd64")
        self.edit_inf(folder, "amd64", "NTamd64", "NTamd64.6.0")
        self.assertPasses(folder, "amd64")

    def test_hardware_id(self):
        entry = "%Kestrin.DeviceDesc% = Kestrin.ndi, PCI\\VEN_7A3C&DEV_0B52"
        cases = [(entry, entry.replace("0B52", "0B53"), "PCI\\VEN_7A3C&DEV_0B53, not PCI\\VEN_7A3C&DEV_0B52"),
                 (entry, entry.replace("DEV_0B52", "dev_0b52"), "not PCI\\VEN_7A3C&DEV_0B52"),
                 (entry, entry + "\r\n%Kestrin.DeviceDesc% = Kestrin.ndi, PCI\\VEN_7A3C&DEV_0B60",
                  "also list PCI\\VEN_7A3C&DEV_0B60"),
                 (entry + "\r\n", "", "no models section of NTx86 lists")]
        for old, new, text in cases:
            with self.subTest(new=new):
                folder = self.package("x86")
                self.edit_inf(folder, "x86", old, new)
                self.assertRefused(folder, "x86", [(".inf", "hardware id", text)])

    def test_a_referenced_section_that_is_missing(self):
        cases = [("[Kestrin.EventLog]", "[Kestrin.Unused]",
                  "[Kestrin.EventLog], named by AddService in [kestrin.ndi.services], is missing"),
                 ("[Kestrin.ndi]", "[Kestrin.ndi.NTamd64]", "[Kestrin.ndi], named by [Orvel.NTx86], is missing"),
                 ("[Orvel.NTx86]", "[Orvel.NTx86.6.1]", "[Orvel.NTx86], named by [Manufacturer], is missing")]
        for old, new, text in cases:
            with self.subTest(new=new):
                folder = self.package("x86")
                self.edit_inf(folder, "x86", old, new)
                self.assertRefused(folder, "x86", [(".inf", "sections", text)])

    def test_files_the_setup_would_not_install(self):
        cases = [("vxa38.sys = 1,,", "vxa38.sys = 1,,\r\nkdcoinst.dll = 1,,", "[SourceDisksFiles] needs kdcoinst.dll"),
                 ("vxa38.sys,,,2", "vxa38.sys,,,2\r\nkdhelper.sys,,,2", "[Kestrin.CopyFiles] needs kdhelper.sys"),
                 ("CopyFiles          = Kestrin.CopyFiles", "CopyFiles          = Kestrin.CopyFiles, @kdcoinst.dll",
                  "CopyFiles in [kestrin.ndi] needs kdcoinst.dll")]
        for old, new, text in cases:
            with self.subTest(new=new):
                folder = self.package("x86")
                self.edit_inf(folder, "x86", old, new)
                self.assertRefused(folder, "x86", [(".inf", "package", text)])


class PackageFilesTest(PackageTestCase):
    def test_a_listed_file_absent(self):
        folder = self.package("x86")
        os.remove(self.path(folder, "x86", ".sys"))
        self.sign_again(folder, "x86")
        self.assertRefused(folder, "x86", [(".sys", "package", "missing"),
                                           (".inf", "SourceDisksFiles", "[SourceDisksFiles] lists vxa38.sys, "
                                                                        "which is not in")])

    def test_a_copied_file_that_source_disks_files_does_not_list(self):
        folder = self.package("x86")
        self.edit_inf(folder, "x86", "vxa38.sys = 1,,\r\n", "")
        self.assertRefused(folder, "x86", [(".inf", "SourceDisksFiles", "[Kestrin.CopyFiles] copies vxa38.sys, "
                                                                         "which [SourceDisksFiles] does not list")])

    def test_a_file_beyond_the_three(self):
        folder = self.package("amd64")
        shutil.copy(self.path(folder, "amd64", ".sys"), os.path.join(folder, "kdcoinst.dll"))
        status, _, problems = self.check(folder, "amd64")
        self.assertEqual(1, status)
        self.assertEqual([f"{os.path.join(folder, 'kdcoinst.dll')}: package: not one of the files the setup "
                          f"installs (vxa3864.cat, vxa3864.inf, vxa3864.sys)"], problems)


class DriverImageTest(PackageTestCase):
    def test_not_a_pe_image(self):
        folder = self.package("x86")
        shutil.copy(self.path(folder, "x86", ".inf"), self.path(folder, "x86", ".sys"))
        self.sign_again(folder, "x86")
        self.assertRefused(folder, "x86", [(".sys", "image", "not a PE image")])

    def test_the_other_machine(self):
        for arch, other, text in (("x86", "amd64", "machine AMD64 (0x8664), not i386"),
                                  ("amd64", "x86", "machine i386 (0x014c), not AMD64")):
            with self.subTest(arch=arch):
                folder = self.package(arch)
                shutil.copy(self.path(os.path.join(self.scratch, "template-" + other), other, ".sys"),
                            self.path(folder, arch, ".sys"))
                self.sign_again(folder, arch)
                self.assertRefused(folder, arch, [(".sys", "image", text)])

    def test_a_program_rather_than_a_kernel_driver(self):
        folder = self.package("x86")
        path = self.path(folder, "x86", ".sys")
        with open(path, "r+b") as image:
            data = bytearray(image.read())
            optional = struct.unpack_from("<I", data, 0x3C)[0] + 24
            struct.pack_into("<H", data, optional + 68, 2)  # IMAGE_SUBSYSTEM_WINDOWS_GUI
            image.seek(0)
            image.write(data)
        self.sign_again(folder, "x86")
        self.assertRefused(folder, "x86", [(".sys", "image", "subsystem 2, not native (1)")])


class CatalogTest(PackageTestCase):
    def test_not_pkcs7(self):
        pem = driverpackage.openssl("crl2pkcs7", "-nocrl", "-certfile", self.signer[0], "-outform", "PEM")
        for name, data in (("text", b"vxa38.cat\r\n"), ("PEM rather than DER", pem)):
            with self.subTest(name):
                folder = self.package("x86")
                with open(self.path(folder, "x86", ".cat"), "wb") as catalog:
                    catalog.write(data)
                self.assertRefused(folder, "x86", [(".cat", "catalog", "not a PKCS #7 SignedData catalog")])

    def test_a_file_changed_after_signing(self):
        for ext in (".sys", ".inf"):
            with self.subTest(ext):
                folder = self.package("amd64")
                with open(self.path(folder, "amd64", ext), "ab") as member:
                    member.write(b"\0" if ext == ".sys" else b"; changed\r\n")
                name = ARCHES["amd64"]["base"] + ext
                self.assertRefused(folder, "amd64", [(".cat", "catalog", f"lists no hash of {name}")])

    def test_the_listed_image_hash_is_the_one_osslsigncode_computes(self):
        folder = self.package("amd64")
        result = subprocess.run(["osslsigncode", "verify", "-in", self.path(folder, "amd64", ".sys"),
                                 "-catalog", self.path(folder, "amd64", ".cat"), "-CAfile", self.signer[0]],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual(0, result.returncode, result.stdout)

    def test_a_catalog_vista_cannot_find_the_files_in(self):
        """Vista looks a file up in a catalog by its SHA-1 hash, in a list of member format
        v1: the v2 lists with SHA-256 hashes of newer catalog tools leave it unsigned."""
        for arch in ARCHES:
            base = ARCHES[arch]["base"]
            cases = [(2, "sha256", [(".cat", "catalog", "member format v2 (1.3.6.1.4.1.311.12.1.3), not v1: Vista")]),
                     (1, "sha256", [(".cat", "catalog", f"lists {base}.sys by its SHA-256 hash only"),
                                    (".cat", "catalog", f"lists {base}.inf by its SHA-256 hash only")])]
            for member_format, algorithm, expected in cases:
                with self.subTest(arch=arch, member_format=member_format, algorithm=algorithm):
                    folder = self.package(arch)
                    self.sign_again(folder, arch, member_format=member_format, algorithm=algorithm)
                    self.assertRefused(folder, arch, expected)

    def windows_tools_catalog(self, folder, arch, digest):
        """The package's catalog in the Windows tools' layout, signed by osslsigncode."""
        members = driverpackage.read_members(self.path(folder, arch, ext) for ext in (".sys", ".inf"))
        with open(self.path(folder, arch, ".cat"), "wb") as catalog:
            catalog.write(driverpackage.unsigned_legacy_catalog(members))
        driverpackage.osslsign_catalog(self.path(folder, arch, ".cat"), self.signer, digest)

    def test_an_amd64_catalog_signed_with_another_digest_than_sha1(self):
        """Vista x64 checks SHA-1 signatures of kernel code only; the x86 catalog's
        signature is left to Windows."""
        for digest, name in (("sha256", "SHA-256"), ("sha512", "SHA-512")):
            for layout in ("openssl", "Windows tools and osslsigncode"):
                with self.subTest(digest=digest, layout=layout):
                    folder = self.package("amd64")
                    if layout == "openssl":
                        self.sign_again(folder, "amd64", digest=digest)
                    else:
                        self.windows_tools_catalog(folder, "amd64", digest)
                    self.assertRefused(folder, "amd64", [(".cat", "signature", f"signed with a {name} digest, not SHA-1")])
                    self.assertRefused(folder, "amd64", [(".cat", "signature", "not SHA-1")], "--test-build")
        folder = self.package("amd64")
        self.windows_tools_catalog(folder, "amd64", "sha1")
        self.assertPasses(folder, "amd64")
        folder = self.package("x86")
        self.sign_again(folder, "x86", digest="sha256")
        self.assertPasses(folder, "x86")

    def test_amd64_needs_a_signer_unless_the_build_is_a_test_build(self):
        folder = self.package("amd64")
        self.sign_again(folder, "amd64", signer=None)
        self.assertRefused(folder, "amd64", [(".cat", "signature", "has no signer")])
        self.assertPasses(folder, "amd64", "--test-build")
        folder = self.package("x86")
        self.sign_again(folder, "x86", signer=None)
        self.assertPasses(folder, "x86")

    def test_the_hashes_of_a_catalog_in_the_windows_tools_layout(self):
        folder = self.package("amd64")
        members = driverpackage.read_members(self.path(folder, "amd64", ext) for ext in (".sys", ".inf"))
        with open(self.path(folder, "amd64", ".cat"), "wb") as catalog:
            catalog.write(driverpackage.unsigned_legacy_catalog(members))
        self.assertPasses(folder, "amd64", "--test-build")
        with open(self.path(folder, "amd64", ".sys"), "ab") as image:
            image.write(b"\0")
        self.assertRefused(folder, "amd64", [(".cat", "catalog", "lists no hash of vxa3864.sys")], "--test-build")

    def test_a_signature_that_does_not_match(self):
        folder = self.package("amd64")
        path = self.path(folder, "amd64", ".cat")
        with open(path, "r+b") as catalog:
            data = bytearray(catalog.read())
            data[-1] ^= 0xFF  # the last byte of the signature value
            catalog.seek(0)
            catalog.write(data)
        self.assertRefused(folder, "amd64", [(".cat", "signature", "does not match")])


if __name__ == "__main__":
    unittest.main()
