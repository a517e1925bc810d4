#pragma once
// The toolkit's implicitly shared containers, kept in the memory pool: LxString (UTF-16 text),
// LxByteArray, LxList (= LxVector, contiguous, insertion order), LxMap and LxSet (key order).
// Reading never copies; the first change of a shared copy copies its data (LxShared.h).
// Strings compare code unit by code unit.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "LxPoolAllocator.h"
#include "LxShared.h"

using LxPoolWString = std::basic_string<wchar_t, std::char_traits<wchar_t>, LxPoolAllocator<wchar_t>>;
using LxPoolBytes = std::basic_string<char, std::char_traits<char>, LxPoolAllocator<char>>;

class LxString : public LxImplicitlyShared<LxPoolWString> {
public:
    LxString() noexcept = default;
    LxString(const wchar_t* text) : LxImplicitlyShared(LxPoolWString(text ? text : L"")) {}
    LxString(const wchar_t* text, std::size_t length) : LxImplicitlyShared(LxPoolWString(text, length)) {}

    const wchar_t* c_str() const noexcept { return data().c_str(); }
    std::size_t size() const noexcept { return data().size(); }
    bool isEmpty() const noexcept { return data().empty(); }
    LxString& operator+=(const LxString& other)
    {
        edit() += other.data();
        return *this;
    }
    LxString& operator+=(const wchar_t* text)
    {
        edit() += text;
        return *this;
    }

    friend bool operator==(const LxString& a, const LxString& b) { return a.data() == b.data(); }
    friend bool operator!=(const LxString& a, const LxString& b) { return !(a == b); }
    friend bool operator<(const LxString& a, const LxString& b) { return a.data() < b.data(); }
};

class LxByteArray : public LxImplicitlyShared<LxPoolBytes> {
public:
    LxByteArray() noexcept = default;
    LxByteArray(const char* bytes, std::size_t size) : LxImplicitlyShared(LxPoolBytes(bytes, size)) {}

    const char* constData() const noexcept { return data().data(); }
    std::size_t size() const noexcept { return data().size(); }
    bool isEmpty() const noexcept { return data().empty(); }
    void append(const char* bytes, std::size_t size) { edit().append(bytes, size); }

    friend bool operator==(const LxByteArray& a, const LxByteArray& b) { return a.data() == b.data(); }
    friend bool operator!=(const LxByteArray& a, const LxByteArray& b) { return !(a == b); }
};

template <typename T>
class LxList : public LxImplicitlyShared<std::vector<T, LxPoolAllocator<T>>> {
    using Base = LxImplicitlyShared<std::vector<T, LxPoolAllocator<T>>>;

public:
    using const_iterator = typename std::vector<T, LxPoolAllocator<T>>::const_iterator;

    std::size_t size() const noexcept { return this->data().size(); }
    bool isEmpty() const noexcept { return this->data().empty(); }
    const T& at(std::size_t i) const { return this->data()[i]; }
    const T& first() const { return this->data().front(); }
    const_iterator begin() const noexcept { return this->data().begin(); }
    const_iterator end() const noexcept { return this->data().end(); }
    bool contains(const T& value) const { return indexOf(value) >= 0; }
    int indexOf(const T& value) const
    {
        const auto it = std::find(begin(), end(), value);
        return it == end() ? -1 : static_cast<int>(it - begin());
    }

    void append(const T& value) { this->edit().push_back(value); }
    void append(T&& value) { this->edit().push_back(std::move(value)); }
    void removeAt(std::size_t i) { this->edit().erase(this->edit().begin() + static_cast<std::ptrdiff_t>(i)); }
    // Removes every element equal to value; returns how many went.
    std::size_t removeAll(const T& value)
    {
        if (!contains(value))
            return 0;
        auto& v = this->edit();
        const std::size_t before = v.size();
        v.erase(std::remove(v.begin(), v.end(), value), v.end());
        return before - v.size();
    }
    template <typename Pred>
    std::size_t removeIf(Pred pred)
    {
        if (std::none_of(begin(), end(), pred))
            return 0;
        auto& v = this->edit();
        const std::size_t before = v.size();
        v.erase(std::remove_if(v.begin(), v.end(), pred), v.end());
        return before - v.size();
    }
    void clear() { *this = LxList(); }
};

template <typename T>
using LxVector = LxList<T>;

template <typename K, typename V>
class LxMap : public LxImplicitlyShared<std::map<K, V, std::less<K>, LxPoolAllocator<std::pair<const K, V>>>> {
    using Map = std::map<K, V, std::less<K>, LxPoolAllocator<std::pair<const K, V>>>;

public:
    using const_iterator = typename Map::const_iterator;

    std::size_t size() const noexcept { return this->data().size(); }
    bool isEmpty() const noexcept { return this->data().empty(); }
    bool contains(const K& key) const { return this->data().count(key) != 0; }
    V value(const K& key, const V& fallback = V()) const
    {
        const auto it = this->data().find(key);
        return it == this->data().end() ? fallback : it->second;
    }
    const_iterator begin() const noexcept { return this->data().begin(); }
    const_iterator end() const noexcept { return this->data().end(); }

    void insert(const K& key, const V& value) { this->edit()[key] = value; }
    bool remove(const K& key) { return contains(key) && this->edit().erase(key) != 0; }
    void clear() { *this = LxMap(); }
};

template <typename T>
class LxSet : public LxImplicitlyShared<std::set<T, std::less<T>, LxPoolAllocator<T>>> {
    using Set = std::set<T, std::less<T>, LxPoolAllocator<T>>;

public:
    using const_iterator = typename Set::const_iterator;

    std::size_t size() const noexcept { return this->data().size(); }
    bool isEmpty() const noexcept { return this->data().empty(); }
    bool contains(const T& value) const { return this->data().count(value) != 0; }
    const T& first() const { return *this->data().begin(); }
    const_iterator begin() const noexcept { return this->data().begin(); }
    const_iterator end() const noexcept { return this->data().end(); }

    void insert(const T& value) { this->edit().insert(value); }
    bool remove(const T& value) { return contains(value) && this->edit().erase(value) != 0; }
};
