#include "Cipher.h"

#include <gcrypt.h>

#include <QByteArray>
#include <mutex>
#include <stdexcept>

namespace {

// libgcrypt must be initialised once, by its version check, before any other call. When another
// part of the process has already done so, its settings are left alone.
void initialiseGcrypt()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P))
            return;
        if (!gcry_check_version(GCRYPT_VERSION))
            throw std::runtime_error("libgcrypt: version mismatch");
        // Only public digests and a short block go through here: no secure memory pool needed.
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    });
}

void check(gcry_error_t err, const char *what)
{
    if (err)
        throw std::runtime_error(std::string("libgcrypt: ") + what + ": " + gcry_strerror(err));
}

QByteArray sha256(const QByteArray &data)
{
    QByteArray digest(int(gcry_md_get_algo_dlen(GCRY_MD_SHA256)), '\0');
    gcry_md_hash_buffer(GCRY_MD_SHA256, digest.data(), data.constData(), size_t(data.size()));
    return digest;
}

// Closes the cipher handle on every path.
struct CipherHandle {
    gcry_cipher_hd_t hd = nullptr;
    ~CipherHandle()
    {
        if (hd)
            gcry_cipher_close(hd);
    }
};

} // namespace

QString EncipherPassword(const QString &text, const QString &vatNumber)
{
    if (text.isEmpty())
        return QString();
    initialiseGcrypt();

    const QByteArray key = sha256(vatNumber.toUtf8());              // 32 bytes: Twofish-256
    const size_t blockLen = gcry_cipher_get_algo_blklen(GCRY_CIPHER_TWOFISH);   // 16
    const QByteArray block = sha256(text.toUtf8()).left(int(blockLen));

    CipherHandle cipher;
    check(gcry_cipher_open(&cipher.hd, GCRY_CIPHER_TWOFISH, GCRY_CIPHER_MODE_ECB, 0), "open");
    check(gcry_cipher_setkey(cipher.hd, key.constData(), size_t(key.size())), "key");
    QByteArray out(block.size(), '\0');
    check(gcry_cipher_encrypt(cipher.hd, out.data(), size_t(out.size()), block.constData(), size_t(block.size())),
          "encrypt");
    return QString::fromLatin1(out.toBase64());
}
