#pragma once

#include "core/BinaryTree.h"

/** A map from a signed 32-bit integer to a pointer that it does not own. */
class LongToPtrMapBase : public BinaryTree
{
public:
    LongToPtrMapBase() = default;
    ~LongToPtrMapBase() override;

    bool Add(int32_t key, void* value) { return BinaryTree::Add(key, value); }
    void* Find(int32_t key) const { return BinaryTree::Find(key); }
    Node* FindNode(int32_t key) const { return BinaryTree::FindNode(key); }
    bool Remove(int32_t key) { return BinaryTree::Remove(key); }
    static int32_t GetNodeLong(const Node* node) { return static_cast<int32_t>(GetNodeKey(node)); }

    const char* KeyToText(Key key) const override;

protected:
    void FreeKey(Key key) override;
    void FreeValue(void* value) override;
    bool CopyKey(Node* node, Key key) override;
    bool SetValue(Node* node, void* value) override;
    int Compare(Key a, Key b) const override;
};

/** LongToPtrMapBase with typed values. */
template <typename T> class LongToPtrMap : public LongToPtrMapBase
{
public:
    bool Add(int32_t key, T* value) { return LongToPtrMapBase::Add(key, value); }
    T* Find(int32_t key) const { return static_cast<T*>(LongToPtrMapBase::Find(key)); }
    static T* GetNodeValue(const Node* node) { return static_cast<T*>(BinaryTree::GetNodeValue(node)); }
};
