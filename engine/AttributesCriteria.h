// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CustomCriteria.h"
#include "platform/FileAttributes.h"

#include <cstdint>

namespace velmaro {

// The status of one attribute in the attribute criteria.
enum TFileAttributeStatus : std::uint8_t {
    fsIgnore,   // the attribute does not matter
    fsSet,      // the attribute must be set
    fsUnset,    // the attribute must be clear
    fsAnySet,   // at least one of the attributes with this status must be set
    fsAnyUnset, // at least one of the attributes with this status must be clear
};

// Decides from an entry's attribute word whether the entry may be reported. The statuses are
// kept as four masks over the attribute word, each attribute's bit in at most one of them, so
// the test is four mask operations. A new object rejects hidden and system entries and folders.
class TAttributesCriteria : public TCustomCriteria {
public:
    // The property indexes: an attribute's bit is 1 << (index - 1).
    enum : int {
        idxReadonly = 1,
        idxHidden = 2,
        idxSystem = 3,
        idxDirectory = 5,
        idxArchive = 6,
        idxDevice = 7,
        idxNormal = 8,
        idxTemporary = 9,
        idxSparseFile = 10,
        idxReparsePoint = 11,
        idxCompressed = 12,
        idxOffline = 13,
        idxNotContentIndexed = 14,
        idxEncrypted = 15,
        idxVirtual = 17,
    };

    TAttributesCriteria() = default;

    const char* ClassName() const override { return "TAttributesCriteria"; }

    // Copies the four masks of another TAttributesCriteria; any other source throws
    // EConvertError (see TCustomCriteria::Assign).
    void Assign(const TCustomCriteria* Source) override;

    // Makes every attribute fsIgnore (all masks 0), so that every entry passes. This is not the
    // state of a new object, which rejects hidden and system entries and folders.
    void Clear() override;

    // Whether an entry with this attribute word passes: every fsSet bit set, every fsUnset bit
    // clear, one of the fsAnySet bits set (if there are any), one of the fsAnyUnset bits clear
    // (if there are any).
    bool Matches(std::uint32_t Attributes) const;

    // The status of the attribute with the given index (1 to 32).
    TFileAttributeStatus Get(int Index) const;
    // Gives the attribute with the given index (1 to 32) a status; a value outside fsSet to
    // fsAnyUnset makes it fsIgnore.
    void Set(int Index, TFileAttributeStatus Value);

    // The bits of the fsUnset attributes; the search driver reads them to decide which folders
    // it keeps out of.
    std::uint32_t UnsetMask() const { return m_unsetMask; }

    TFileAttributeStatus Readonly() const { return Get(idxReadonly); }
    void SetReadonly(TFileAttributeStatus v) { Set(idxReadonly, v); }
    TFileAttributeStatus Hidden() const { return Get(idxHidden); }
    void SetHidden(TFileAttributeStatus v) { Set(idxHidden, v); }
    TFileAttributeStatus System() const { return Get(idxSystem); }
    void SetSystem(TFileAttributeStatus v) { Set(idxSystem, v); }
    TFileAttributeStatus Directory() const { return Get(idxDirectory); }
    void SetDirectory(TFileAttributeStatus v) { Set(idxDirectory, v); }
    TFileAttributeStatus Archive() const { return Get(idxArchive); }
    void SetArchive(TFileAttributeStatus v) { Set(idxArchive, v); }
    TFileAttributeStatus Device() const { return Get(idxDevice); }
    void SetDevice(TFileAttributeStatus v) { Set(idxDevice, v); }
    TFileAttributeStatus Normal() const { return Get(idxNormal); }
    void SetNormal(TFileAttributeStatus v) { Set(idxNormal, v); }
    TFileAttributeStatus Temporary() const { return Get(idxTemporary); }
    void SetTemporary(TFileAttributeStatus v) { Set(idxTemporary, v); }
    TFileAttributeStatus SparseFile() const { return Get(idxSparseFile); }
    void SetSparseFile(TFileAttributeStatus v) { Set(idxSparseFile, v); }
    TFileAttributeStatus ReparsePoint() const { return Get(idxReparsePoint); }
    void SetReparsePoint(TFileAttributeStatus v) { Set(idxReparsePoint, v); }
    TFileAttributeStatus Compressed() const { return Get(idxCompressed); }
    void SetCompressed(TFileAttributeStatus v) { Set(idxCompressed, v); }
    TFileAttributeStatus Offline() const { return Get(idxOffline); }
    void SetOffline(TFileAttributeStatus v) { Set(idxOffline, v); }
    TFileAttributeStatus NotContentIndexed() const { return Get(idxNotContentIndexed); }
    void SetNotContentIndexed(TFileAttributeStatus v) { Set(idxNotContentIndexed, v); }
    TFileAttributeStatus Encrypted() const { return Get(idxEncrypted); }
    void SetEncrypted(TFileAttributeStatus v) { Set(idxEncrypted, v); }
    TFileAttributeStatus Virtual() const { return Get(idxVirtual); }
    void SetVirtual(TFileAttributeStatus v) { Set(idxVirtual, v); }

private:
    static std::uint32_t bitOf(int index);

    std::uint32_t m_setMask = 0;
    std::uint32_t m_unsetMask = platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM |
                                platform::FILE_ATTRIBUTE_DIRECTORY;
    std::uint32_t m_anySetMask = 0;
    std::uint32_t m_anyUnsetMask = 0;
};

} // namespace velmaro
