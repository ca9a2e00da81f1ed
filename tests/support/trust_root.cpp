// Makes a certificate authority trusted in the Wine prefix it runs in: adds
// a DER certificate to the machine's "Root" store, once.
//
//   trust_root.exe CERTIFICATE.der
//
// Exits 0 when the certificate is in the store, 1 otherwise.

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_root.exe CERTIFICATE.der\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (der.empty()) {
        std::fprintf(stderr, "cannot read %ls\n", argv[1]);
        return 1;
    }
    const HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!root) {
        std::fprintf(stderr, "cannot open the Root store: %lu\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()), CERT_STORE_ADD_USE_EXISTING,
                                                        nullptr);
    if (!added) {
        std::fprintf(stderr, "cannot add the certificate: %lu\n", GetLastError());
    }
    CertCloseStore(root, 0);
    return added ? 0 : 1;
}
