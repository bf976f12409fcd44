#pragma once

#include "core/BinaryTree.h"

/** A map from a text (case-sensitive, unsigned byte order) to a pointer that it does not own. Keys
    are copied into the shared key-text pools. A null key counts as "". */
class StringToPtrMapBase : public BinaryTree
{
public:
    StringToPtrMapBase() = default;
    ~StringToPtrMapBase() override;

    bool Add(const char* key, void* value) { return BinaryTree::Add(AsKey(key), value); }
    void* Find(const char* key) const { return BinaryTree::Find(AsKey(key)); }
    Node* FindNode(const char* key) const { return BinaryTree::FindNode(AsKey(key)); }
    bool Remove(const char* key) { return BinaryTree::Remove(AsKey(key)); }
    /** The key text of a node; null for a null node. */
    static const char* GetNodeText(const Node* node)
    {
        return reinterpret_cast<const char*>(GetNodeKey(node));
    }

    const char* KeyToText(Key key) const override;

protected:
    void FreeKey(Key key) override;
    void FreeValue(void* value) override;
    bool CopyKey(Node* node, Key key) override;
    bool SetValue(Node* node, void* value) override;
    int Compare(Key a, Key b) const override;

    static Key AsKey(const char* text) { return reinterpret_cast<Key>(text != nullptr ? text : ""); }
};

/** StringToPtrMapBase with typed values. */
template <typename T> class StringToPtrMap : public StringToPtrMapBase
{
public:
    bool Add(const char* key, T* value) { return StringToPtrMapBase::Add(key, value); }
    T* Find(const char* key) const { return static_cast<T*>(StringToPtrMapBase::Find(key)); }
    static T* GetNodeValue(const Node* node) { return static_cast<T*>(BinaryTree::GetNodeValue(node)); }
};
