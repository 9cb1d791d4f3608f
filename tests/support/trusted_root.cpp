#include "trusted_root.h"

namespace testkit {
namespace {

// The machine's root certificates in the registry, where every process
// reads them; the registry store itself, since Wine removes nothing through
// the system store over it (and a stale root of the same name would then
// be picked for the next test's certificate). It is written when closed,
// so it is open only for each change.
HCERTSTORE OpenMachineRoot() {
  return CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "ROOT");
}

}  // namespace

TrustedRoot::TrustedRoot(const Bytes& der) : der_(der) {
  const HCERTSTORE store = OpenMachineRoot();
  if (store == nullptr) return;
  added_ = !der.empty() &&
           CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                            CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  added_ = CertCloseStore(store, 0) && added_;
}

TrustedRoot::~TrustedRoot() {
  if (!added_) return;
  const HCERTSTORE store = OpenMachineRoot();
  if (store == nullptr) return;
  const PCCERT_CONTEXT certificate =
      CertCreateCertificateContext(X509_ASN_ENCODING, der_.data(), static_cast<DWORD>(der_.size()));
  if (certificate != nullptr) {
    // Deleting frees the found context as well.
    if (const PCCERT_CONTEXT found =
            CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate, nullptr))
      CertDeleteCertificateFromStore(found);
    CertFreeCertificateContext(certificate);
  }
  CertCloseStore(store, 0);
}

}  // namespace testkit
