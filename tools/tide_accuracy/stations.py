#!/usr/bin/env python3
"""Extract stations' JSON files from the tide database archive.

Usage: stations.py ARCHIVE OUT_DIR ID...   writes OUT_DIR/<id with / as _>.json
for each id and, for a subordinate station, its reference too.
"""
import io
import json
import os
import sys
import tarfile


def main():
    archive, out, ids = sys.argv[1], sys.argv[2], set(sys.argv[3:])
    os.makedirs(out, exist_ok=True)
    found = {}
    with tarfile.open(archive, mode="r:xz") as tar:
        members = {m.name: m for m in tar if m.isfile()}

        def load(sid):
            name = "tide-database/data/%s.json" % sid
            return json.load(tar.extractfile(members[name]))

        for sid in sorted(ids):
            s = load(sid)
            found[sid] = s
            if s["type"] == "subordinate":
                ref = s["offsets"]["reference"]
                found[ref] = load(ref)
    for sid, s in found.items():
        with open(os.path.join(out, sid.replace("/", "_") + ".json"), "w") as f:
            json.dump(s, f)


if __name__ == "__main__":
    main()
