// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// An ordered list of 8-bit strings, duplicates allowed, that tells its owner about every change
// of its contents through OnChange.
//
// Copying a list copies its entries, never its OnChange: the handler belongs to the owner of
// the list it was set on. Assigning one list to another (operator= or Assign) replaces the
// entries and notifies the target's handler.
class TStringList {
public:
    // Called after every change of the contents; not called when an operation leaves the
    // contents as they were (Clear of an empty list, Assign of equal entries).
    std::function<void()> OnChange;

    TStringList() = default;
    TStringList(std::initializer_list<std::string> Entries) : m_items(Entries) {}
    TStringList(const TStringList& Other) : m_items(Other.m_items) {}
    TStringList(TStringList&& Other) noexcept : m_items(std::move(Other.m_items)) {}
    TStringList& operator=(const TStringList& Other) {
        Assign(Other);
        return *this;
    }

    int Count() const { return static_cast<int>(m_items.size()); }

    // The entry at Index; throws std::out_of_range when Index is not below Count().
    const std::string& Items(int Index) const { return m_items[position(Index, Count())]; }

    // Replaces the entry at Index; throws std::out_of_range when Index is not below Count().
    void SetItems(int Index, std::string_view Value);

    // Appends Value and returns its index.
    int Add(std::string_view Value);

    // Inserts Value before the entry at Index (Index == Count() appends); throws
    // std::out_of_range for any other Index.
    void Insert(int Index, std::string_view Value);

    // Removes the entry at Index; throws std::out_of_range when Index is not below Count().
    void Delete(int Index);

    void Clear();

    // Replaces the entries by a copy of Source's.
    void Assign(const TStringList& Source);

    // Index of the first entry equal to Value byte for byte, or -1.
    int IndexOf(std::string_view Value) const;

    std::vector<std::string>::const_iterator begin() const { return m_items.begin(); }
    std::vector<std::string>::const_iterator end() const { return m_items.end(); }

    friend bool operator==(const TStringList& A, const TStringList& B) {
        return A.m_items == B.m_items;
    }

private:
    // Index as a vector position; throws std::out_of_range unless 0 <= Index < Limit.
    static std::size_t position(int Index, int Limit);
    void changed() const;

    std::vector<std::string> m_items;
};

} // namespace velmaro
