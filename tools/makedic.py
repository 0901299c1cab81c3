#!/usr/bin/env python3
"""Makes the spell checker's English.DIC: the words of a general English word list (one word a line,
UTF-8, such as Debian's wbritish list) and the field-description words of fieldwords.txt, in
Windows-1252 (words that do not fit are left out), sorted without regard to letter case, one word a
line ended by CR LF.

    tools/makedic.py WORDLIST FIELDWORDS OUTPUT
    tools/makedic.py --check WORDLIST FIELDWORDS DIC    (exit 1 when DIC differs from what it would make)
"""
import hashlib
import sys

# Words of the general list that the project keeps out of its own files. They are given by the SHA-256 of
# the word, so the words themselves stand nowhere in the project; a user who needs one adds it with
# Add As Is.
LEFT_OUT = {
    "83ae2f5a38db4ea1ec02e0210a84469fdc50dafe1b6a08a6d0904027baf6f32e",
    "f095fcdd2500ae50dfca6314d3c79e4c4a8129011b54deb8eccdb03ee25b22ef",
}


def words_of(path, comments):
    out = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            w = line.strip()
            if not w or (comments and w.startswith("#") and len(w) > 1 and w[1] == " ") or w == "#":
                continue
            out.append(w)
    return out


def main(argv):
    check = len(argv) > 1 and argv[1] == "--check"
    if check:
        argv = argv[:1] + argv[2:]
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    general, field, output = argv[1:]
    seen, kept, dropped = set(), [], 0
    for w in words_of(general, False) + words_of(field, True):
        if hashlib.sha256(w.encode("utf-8")).hexdigest() in LEFT_OUT:
            continue
        try:
            b = w.encode("cp1252")
        except UnicodeEncodeError:
            dropped += 1
            continue
        if b in seen:
            continue
        seen.add(b)
        kept.append(b)
    # Without regard to letter case, then in byte order, so the file is the same on every machine.
    kept.sort(key=lambda b: (b.decode("cp1252").casefold(), b))
    made = b"".join(b + b"\r\n" for b in kept)
    if check:
        with open(output, "rb") as f:
            if f.read() != made:
                print(f"makedic: {output} is not what {general} and {field} make; run tools/makedic.py")
                return 1
        print(f"makedic: {output} is up to date ({len(kept)} words)")
        return 0
    with open(output, "wb") as f:
        f.write(made)
    print(f"makedic: {len(kept)} words, {dropped} left out (not in Windows-1252)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
