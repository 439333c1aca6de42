#!/usr/bin/env python3
"""Checks the winget manifests that setuvane-pack wrote into a folder: each file
against the schema of its kind (winget's own, read where they lie), with the header
that names that schema; the three describe one package, whose installer is the
file given, and the entry winget detects shows the package's version.
Prints the installer manifest as JSON for the caller's own checks.

Usage: winget_manifests.py MANIFEST-FOLDER SCHEMA-FOLDER SETUP.EXE
"""
import hashlib
import json
import pathlib
import sys

import jsonschema
import yaml

folder, schemas, setup = map(pathlib.Path, sys.argv[1:4])
manifests = {}
for path in sorted(folder.glob("*.yaml")):
    text = path.read_text(encoding="utf-8")
    document = yaml.safe_load(text)
    kind = document["ManifestType"]
    schema = json.loads((schemas / f"manifest.{kind}.1.28.0.json").read_text(encoding="utf-8"))
    assert f"# yaml-language-server: $schema={schema['$id']}\n" in text, f"{path}: no header naming {schema['$id']}"
    jsonschema.Draft7Validator(schema).validate(document)
    manifests[kind] = document
assert sorted(manifests) == ["defaultLocale", "installer", "version"], sorted(manifests)
heads = {(m["PackageIdentifier"], m["PackageVersion"]) for m in manifests.values()}
assert len(heads) == 1, heads
installer = manifests["installer"]
digest = hashlib.sha256(setup.read_bytes()).hexdigest()
assert installer["Installers"][0]["InstallerSha256"].lower() == digest, installer["Installers"]
entry = installer["AppsAndFeaturesEntries"][0]
assert entry["DisplayVersion"] == installer["PackageVersion"], entry
assert entry["ProductCode"] == installer["ProductCode"], entry
print(json.dumps(installer, ensure_ascii=False))
