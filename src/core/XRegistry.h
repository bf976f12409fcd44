#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

/** Helpers of the path registry. */
namespace RegistryPath
{
/** Longest path after formatting, in characters. */
constexpr int kMaxLength = 1023;
constexpr char kSeparator = '\\';

/** Formats into out; false (out emptied) for a null format or a result longer than kMaxLength. */
bool FormatV(XString& out, const char* format, va_list args);
/** Splits path at its first separator: first before it, rest after it (empty when there is none). */
void Split(const XString& path, XString& first, XString& rest);
/** True when the path is not empty and no component of it is empty. */
bool IsWellFormed(const XString& path);
} // namespace RegistryPath

/** A leaf of the path registry: one registered object under one component name (lower case). The
    object is not owned. */
template <typename T> class XRegistryNode
{
public:
    XRegistryNode(T* objectIn, const XString& nameIn) : object(objectIn), name(nameIn) {}
    virtual ~XRegistryNode() = default;
    XRegistryNode(const XRegistryNode&) = delete;
    XRegistryNode& operator=(const XRegistryNode&) = delete;

    virtual bool IsLeaf() const { return true; }
    /** Number of child entries; 0 for a leaf. */
    virtual int32_t GetCount() const { return 0; }

    T* GetObject() const { return object; }
    const XString& GetName() const { return name; }

private:
    T* object;
    XString name;
};

/** An inner node of the path registry: children by lower-case component name, each a leaf or
    another tree. Paths are backslash-separated and matched without regard to case; a path is at
    most RegistryPath::kMaxLength characters and has no empty component.

    The tree takes no lock: a caller that shares it between threads serialises the calls. */
template <typename T> class XRegistryTree : public XRegistryNode<T>
{
public:
    explicit XRegistryTree(const XString& name = XString()) : XRegistryNode<T>(nullptr, name) {}

    bool IsLeaf() const override { return false; }
    int32_t GetCount() const override { return static_cast<int32_t>(children.size()); }

    /** Formats and registers object at the path: 0, or 0x80000001 when anything (a leaf or an inner
        node) is already there, when a component on the way is a leaf, or for a malformed path. */
    int32_t AddPath(T* object, const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        XString path;
        const bool formatted = RegistryPath::FormatV(path, format, args);
        va_end(args);
        if (!formatted || !RegistryPath::IsWellFormed(path))
            return XResult::kFailed;
        path.MakeLower();
        if (Lookup(path.CStr()) != nullptr)
            return XResult::kFailed;
        return Insert(object, path);
    }

    /** Registers object at a lower-case path: 0, or 0x80000001 when the path is taken or runs
        through a leaf. */
    int32_t Insert(T* object, const XString& path)
    {
        XString first, rest;
        RegistryPath::Split(path, first, rest);
        auto found = children.find(first);
        if (rest.IsEmpty())
        {
            if (found != children.end())
                return XResult::kFailed;
            children.emplace(first, std::make_unique<XRegistryNode<T>>(object, first));
            return 0;
        }
        if (found == children.end())
            found = children.emplace(first, std::make_unique<XRegistryTree<T>>(first)).first;
        if (found->second->IsLeaf())
            return XResult::kFailed;
        return static_cast<XRegistryTree<T>*>(found->second.get())->Insert(object, rest);
    }

    /** The node at the path (leaf or inner node), or null; the path is lower-cased here. A leaf on
        the way ends the walk only when the path ends there. */
    XRegistryNode<T>* Lookup(const char* pathText) const
    {
        XString path(pathText);
        path.MakeLower();
        return LookupLower(path);
    }

    /** Removes what is registered at exactly the formatted path and returns its object; null when
        no leaf is there (nothing changes then). */
    T* RemovePath(const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        XString path;
        const bool formatted = RegistryPath::FormatV(path, format, args);
        va_end(args);
        if (!formatted)
            return nullptr;
        path.MakeLower();
        return Remove(path, nullptr);
    }

    /** Removes the leaf at exactly the lower-case path when it holds expected (any object when
        expected is null); returns the removed object or null. Inner nodes left empty are freed. */
    T* Remove(const XString& path, const T* expected)
    {
        XString first, rest;
        RegistryPath::Split(path, first, rest);
        auto found = children.find(first);
        if (found == children.end())
            return nullptr;
        XRegistryNode<T>* child = found->second.get();
        if (child->IsLeaf())
        {
            if (!rest.IsEmpty() || (expected != nullptr && child->GetObject() != expected))
                return nullptr;
            T* object = child->GetObject();
            children.erase(found);
            return object;
        }
        if (rest.IsEmpty())
            return nullptr;
        auto* tree = static_cast<XRegistryTree<T>*>(child);
        T* object = tree->Remove(rest, expected);
        if (tree->GetCount() == 0)
            children.erase(found);
        return object;
    }

    /** The object registered at the formatted path; null when none or when the path names an inner
        node. */
    T* FindPath(const char* format, ...) const
    {
        va_list args;
        va_start(args, format);
        XString path;
        const bool formatted = RegistryPath::FormatV(path, format, args);
        va_end(args);
        return formatted ? Find(path.CStr()) : nullptr;
    }

    /** As FindPath for an unformatted path. */
    T* Find(const char* pathText) const
    {
        const XRegistryNode<T>* node = Lookup(pathText);
        return node != nullptr && node->IsLeaf() ? node->GetObject() : nullptr;
    }

private:
    XRegistryNode<T>* LookupLower(const XString& path) const
    {
        XString first, rest;
        RegistryPath::Split(path, first, rest);
        const auto found = children.find(first);
        if (found == children.end())
            return nullptr;
        XRegistryNode<T>* child = found->second.get();
        if (rest.IsEmpty())
            return child;
        if (child->IsLeaf())
            return nullptr;
        return static_cast<const XRegistryTree<T>*>(child)->LookupLower(rest);
    }

    /** Ordered by byte; the names are lower case. Owned. */
    std::map<XString, std::unique_ptr<XRegistryNode<T>>> children;
};

/** The root of a path registry; its name is empty. */
template <typename T> class XRegistry : public XRegistryTree<T>
{
};
