#!/usr/bin/env python3
"""Writes the package managers' manifests for what scripts/package built.

    write-manifests.py PACKAGES VERSION

PACKAGES holds Quorlith-VERSION-win32.zip, Quorlith-VERSION-win64.zip and
Quorlith-VERSION-setup.exe; the manifests carry their SHA-256 hashes:

    PACKAGES/scoop/quorlith.json                       the zips, for scoop
    PACKAGES/winget/Quorlith.Quorlith/VERSION/*.yaml   the setup, for winget

The download addresses come from QUORLITH_HOMEPAGE (the project's page) and
QUORLITH_DOWNLOADS (where each version's files lie, as
DOWNLOADS/vVERSION/FILE); both have placeholders until the project has them.
"""

import hashlib
import json
import os
import sys

import yaml

PUBLISHER = "The Quorlith developers"
SUMMARY = "A configurable drag-box to capture the path of a file."
DESCRIPTION = (
    "Quorlith shows one small, semi-transparent drop box that stays above the other "
    "windows. Files and folders dropped on it have their paths put on the clipboard (the "
    "full path, the name, the extension or the folder, quoted or not, joined by the "
    "separator of your choice), or are copied or moved into a folder, or deleted into the "
    "Recycle Bin. Every setting lives in one hand-edited settings file, Quorlith.ini."
)
# Nothing has been licensed yet: every right is reserved (resources/copyright).
LICENSE = "Proprietary"
WINGET_ID = "Quorlith.Quorlith"
WINGET_SCHEMA_VERSION = "1.10.0"

# The setup's exit codes besides 0 and 1 (resources/setup/common.nsh), as
# winget should read them.
SETUP_RETURN_CODES = [
    (2, "installInProgress"),
    (3, "invalidParameter"),
    (4, "packageInUse"),
    (5, "invalidParameter"),
]


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def scoop_manifest(packages, version, homepage, downloads):
    """The portable zips: the program keeps its settings beside itself, which
    scoop keeps across updates as a hard link into its persist folder. Scoop
    would persist a folder where neither place has the file yet, so the
    first install puts an empty Quorlith.ini there; the program's first start
    fills it in."""
    architecture = {}
    for scoop_name, bits in (("64bit", "win64"), ("32bit", "win32")):
        name = f"Quorlith-{version}-{bits}"
        architecture[scoop_name] = {
            "url": f"{downloads}v{version}/{name}.zip",
            "hash": sha256(os.path.join(packages, name + ".zip")),
            "extract_dir": name,
        }
    return {
        "version": version,
        "description": SUMMARY,
        "homepage": homepage,
        "license": LICENSE,
        "notes": [
            "Quorlith keeps its settings in $persist_dir\\Quorlith.ini.",
            "End the box before scoop updates or removes it: quorlith /close",
        ],
        "architecture": architecture,
        "pre_install": (
            'if (!(Test-Path "$persist_dir\\Quorlith.ini")) '
            '{ New-Item -ItemType File "$dir\\Quorlith.ini" | Out-Null }'
        ),
        "bin": "Quorlith.exe",
        "shortcuts": [["Quorlith.exe", "Quorlith"]],
        "persist": "Quorlith.ini",
        "checkver": {"url": downloads, "regex": r"Quorlith-([\d.]+)-win64\.zip"},
        "autoupdate": {
            "architecture": {
                scoop_name: {
                    "url": f"{downloads}v$version/Quorlith-$version-{bits}.zip",
                    "extract_dir": f"Quorlith-$version-{bits}",
                }
                for scoop_name, bits in (("64bit", "win64"), ("32bit", "win32"))
            }
        },
    }


def winget_manifests(packages, version, homepage, downloads):
    """The setup, for winget: one version, its default locale, its installer.
    The same x86 setup serves 64-bit Windows too (it installs the 64-bit
    program there)."""
    setup = f"Quorlith-{version}-setup.exe"
    common = {"PackageIdentifier": WINGET_ID, "PackageVersion": version}
    tail = {"ManifestVersion": WINGET_SCHEMA_VERSION}
    installer = {
        "InstallerUrl": f"{downloads}v{version}/{setup}",
        "InstallerSha256": sha256(os.path.join(packages, setup)).upper(),
    }
    return {
        "version": {**common, "DefaultLocale": "en-US", "ManifestType": "version", **tail},
        "defaultLocale": {
            **common,
            "PackageLocale": "en-US",
            "Publisher": PUBLISHER,
            "PackageName": "Quorlith",
            "PackageUrl": homepage,
            "License": LICENSE,
            "Copyright": "Copyright 2026 the Quorlith developers",
            "ShortDescription": SUMMARY,
            "Description": DESCRIPTION,
            "Moniker": "quorlith",
            "Tags": ["clipboard", "drag-and-drop", "file-path", "files"],
            "ManifestType": "defaultLocale",
            **tail,
        },
        "installer": {
            **common,
            "InstallerType": "nullsoft",
            "Scope": "user",
            "InstallModes": ["interactive", "silent", "silentWithProgress"],
            "InstallerSwitches": {
                "Silent": "/S",
                "SilentWithProgress": "/S",
                "Log": "/LOG=<LOGPATH>",
                "InstallLocation": "/D=<INSTALLPATH>",
            },
            "ExpectedReturnCodes": [
                {"InstallerReturnCode": code, "ReturnResponse": response}
                for code, response in SETUP_RETURN_CODES
            ],
            "UpgradeBehavior": "install",
            "ProductCode": "Quorlith",
            "Installers": [
                {"Architecture": "x64", **installer},
                {"Architecture": "x86", **installer},
            ],
            "ManifestType": "installer",
            **tail,
        },
    }


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: write-manifests.py PACKAGES VERSION")
    packages, version = sys.argv[1], sys.argv[2]
    homepage = os.environ.get("QUORLITH_HOMEPAGE", "https://quorlith.invalid/")
    downloads = os.environ.get("QUORLITH_DOWNLOADS", homepage + "download/")

    os.makedirs(os.path.join(packages, "scoop"), exist_ok=True)
    with open(os.path.join(packages, "scoop", "quorlith.json"), "w", encoding="utf-8") as out:
        json.dump(scoop_manifest(packages, version, homepage, downloads), out, indent=4)
        out.write("\n")

    folder = os.path.join(packages, "winget", WINGET_ID, version)
    os.makedirs(folder, exist_ok=True)
    names = {"version": "", "defaultLocale": ".locale.en-US", "installer": ".installer"}
    for kind, manifest in winget_manifests(packages, version, homepage, downloads).items():
        schema = f"https://aka.ms/winget-manifest.{kind.lower()}.{WINGET_SCHEMA_VERSION}.schema.json"
        with open(os.path.join(folder, WINGET_ID + names[kind] + ".yaml"), "w", encoding="utf-8") as out:
            out.write(f"# yaml-language-server: $schema={schema}\n\n")
            yaml.safe_dump(manifest, out, sort_keys=False, allow_unicode=True, width=100)


if __name__ == "__main__":
    main()
