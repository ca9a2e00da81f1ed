#!/usr/bin/env python3
"""Makes the keys, certificates and signed stand-in clients of the signature
and https tests, with openssl and osslsigncode, in a folder of the build:

  tls-ca.pem tls-ca.der           a certificate authority the tests trust in the Wine prefix
  localhost.pem localhost.key     a server certificate for "localhost" from it
  other-ca.pem                    an authority nobody trusts
  untrusted.pem untrusted.key     a server certificate for "localhost" from that one
  signer-a.pem signer-a.key       two code-signing certificates, each its own root,
  signer-b.pem signer-b.key       and the pins of their keys: pin-a.txt, pin-b.txt
  client-signed-a.exe             the newer stand-in client signed with key A
  client-signed-b.exe             the same, signed with key B
  client-changed.exe              signed with key A, then one byte of its code changed
  client-padded-a.exe             signed with key A, then sixteen bytes added inside its certificate table
  client-unsigned.exe             the same client without a signature

  make_test_pki.py BUILD_DIR [OUT_DIR]   (default OUT_DIR: BUILD_DIR/test-pki)

Keys are made once per folder; the clients again whenever the build's
stub_client_new.exe is newer. No private key ever leaves the build folder.
"""

import fcntl
import os
import shutil
import struct
import subprocess
import sys

NEW_CLIENT = "stub_client_new.exe"
# A byte inside the code, well before the signature that osslsigncode appends.
CHANGED_OFFSET = 0x600


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def authority(out, name, subject):
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "3650",
        "-keyout", os.path.join(out, name + ".key"), "-out", os.path.join(out, name + ".pem"),
        "-subj", "/CN=" + subject, "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")


def server_certificate(out, name, ca):
    key, request, cert = (os.path.join(out, name + ext) for ext in (".key", ".csr", ".pem"))
    extensions = os.path.join(out, name + ".ext")
    with open(extensions, "w") as f:
        f.write("subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\n"
                "keyUsage=critical,digitalSignature,keyEncipherment\n")
    run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request, "-subj", "/CN=localhost")
    run("openssl", "x509", "-req", "-in", request, "-CA", os.path.join(out, ca + ".pem"),
        "-CAkey", os.path.join(out, ca + ".key"), "-set_serial", str(int.from_bytes(os.urandom(8), "big")),
        "-days", "3650", "-sha256", "-extfile", extensions, "-out", cert)
    os.remove(request)
    os.remove(extensions)


def signer(out, name, subject):
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "3650",
        "-keyout", os.path.join(out, name + ".key"), "-out", os.path.join(out, name + ".pem"),
        "-subj", "/CN=" + subject, "-addext", "extendedKeyUsage=codeSigning",
        "-addext", "keyUsage=critical,digitalSignature")


def pin_of(certificate):
    """SHA-256 of the certificate's DER SubjectPublicKeyInfo, as docs/support-desk.md tells operators to get it."""
    key = subprocess.run(["openssl", "x509", "-in", certificate, "-pubkey", "-noout"], check=True,
                         capture_output=True).stdout
    der = subprocess.run(["openssl", "pkey", "-pubin", "-outform", "der"], input=key, check=True,
                         capture_output=True).stdout
    digest = subprocess.run(["openssl", "dgst", "-sha256", "-r"], input=der, check=True,
                            capture_output=True).stdout
    return digest.split()[0].decode()


def make_keys(out):
    authority(out, "tls-ca", "Quorvelinde Test CA")
    run("openssl", "x509", "-in", os.path.join(out, "tls-ca.pem"), "-outform", "der",
        "-out", os.path.join(out, "tls-ca.der"))
    server_certificate(out, "localhost", "tls-ca")
    authority(out, "other-ca", "Nobody's CA")
    server_certificate(out, "untrusted", "other-ca")
    for name in ("a", "b"):
        signer(out, "signer-" + name, "Quorvelinde Test Signer " + name.upper())
        with open(os.path.join(out, "pin-%s.txt" % name), "w") as f:
            f.write(pin_of(os.path.join(out, "signer-%s.pem" % name)))


def sign(out, client, name, output):
    if os.path.exists(output):
        os.remove(output)
    run("osslsigncode", "sign", "-certs", os.path.join(out, name + ".pem"), "-key", os.path.join(out, name + ".key"),
        "-n", "Tamorix", "-h", "sha256", "-in", client, "-out", output)


def make_clients(out, client):
    shutil.copyfile(client, os.path.join(out, "client-unsigned.exe"))
    sign(out, client, "signer-a", os.path.join(out, "client-signed-a.exe"))
    sign(out, client, "signer-b", os.path.join(out, "client-signed-b.exe"))
    changed = os.path.join(out, "client-changed.exe")
    shutil.copyfile(os.path.join(out, "client-signed-a.exe"), changed)
    with open(changed, "r+b") as f:
        f.seek(CHANGED_OFFSET)
        byte = f.read(1)
        f.seek(CHANGED_OFFSET)
        f.write(bytes([byte[0] ^ 0xFF]))
    pad_certificate_table(os.path.join(out, "client-signed-a.exe"), os.path.join(out, "client-padded-a.exe"))
    add_certificate_entry(os.path.join(out, "client-signed-a.exe"), os.path.join(out, "client-second-entry-a.exe"))


def certificate_table(data):
    """Where the security directory lies, and the table's offset and size; the table must end the file."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
    security = directories + 4 * 8
    offset, size = struct.unpack_from("<II", data, security)
    if offset + size != len(data):
        raise SystemExit("the certificate table is not at the end of the file")
    return security, offset, size


def add_certificate_entry(signed, output):
    """The signed client with a second entry in its table: any data, framed as one DER sequence of 12 bytes."""
    with open(signed, "rb") as f:
        data = bytearray(f.read())
    security, offset, size = certificate_table(data)
    content = b"\x30\x0c" + b"QUORVELINDE!"
    entry = struct.pack("<IHH", 8 + len(content), 0x0200, 0x0002) + content
    entry += b"\0" * (-len(entry) % 8)
    data[offset + size:offset + size] = entry
    struct.pack_into("<II", data, security, offset, size + len(entry))
    with open(output, "wb") as f:
        f.write(data)


def pad_certificate_table(signed, output):
    """The signed client with sixteen bytes more inside its certificate table, which the signature does not cover."""
    with open(signed, "rb") as f:
        data = bytearray(f.read())
    security, offset, size = certificate_table(data)
    length = struct.unpack_from("<I", data, offset)[0]
    struct.pack_into("<I", data, offset, length + 16)
    struct.pack_into("<II", data, security, offset, size + 16)
    data[offset + length:offset + length] = b"QUORVELINDE-EXTRA"[:16]
    with open(output, "wb") as f:
        f.write(data)


def main(argv):
    if not 1 <= len(argv) <= 2:
        sys.exit(__doc__)
    build = os.path.abspath(argv[0])
    out = os.path.abspath(argv[1]) if len(argv) == 2 else os.path.join(build, "test-pki")
    os.makedirs(out, exist_ok=True)
    client = os.path.join(build, NEW_CLIENT)
    # Cases run side by side: one makes the files, the others wait for it.
    with open(os.path.join(out, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(out, "pin-b.txt")):
            make_keys(out)
        marker = os.path.join(out, "client-second-entry-a.exe")
        if not os.path.exists(marker) or os.path.getmtime(marker) < os.path.getmtime(client):
            make_clients(out, client)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
