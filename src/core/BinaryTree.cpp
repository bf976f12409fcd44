#include "core/BinaryTree.h"

#include "core/ProcessState.h"
#include "core/XMemPool.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace
{
constexpr unsigned kNodesPerChunk = 100;
constexpr size_t kShortTextLimit = 16;
constexpr size_t kMediumTextLimit = 32;
constexpr size_t kLongTextLimit = 64;
constexpr unsigned kShortTextsPerChunk = 100;
constexpr unsigned kMediumTextsPerChunk = 200;
constexpr unsigned kLongTextsPerChunk = 100;
constexpr int kKeyTextSize = 32;
/** Pending subtrees of one rebalance: one per level of a balanced tree of 2^31 nodes, plus room. */
constexpr int kRebalanceStackSize = 64;

/** The pools shared by every tree: created by the first tree, dropped by the last. */
struct SharedTreePools
{
    XMemPool* nodes = nullptr;
    XMemPool* shortTexts = nullptr;
    XMemPool* mediumTexts = nullptr;
    XMemPool* longTexts = nullptr;
};

SharedTreePools sharedPools; // guarded by PoolsLock while pools are made, referenced or dropped

std::mutex& PoolsLock()
{
    static auto* lock = new std::mutex(); // never destroyed: trees may die during static teardown
    return *lock;
}

void ReleasePool(XMemPool*& pool)
{
    if (pool != nullptr && pool->Release() == 0)
        pool = nullptr;
}

XMemPool* TextPoolFor(size_t length)
{
    if (length < kShortTextLimit)
        return sharedPools.shortTexts;
    if (length < kMediumTextLimit)
        return sharedPools.mediumTexts;
    return sharedPools.longTexts;
}

/** Pool block for texts under 64 characters; beyond, the length rounded down to a multiple of 4
    plus 4 (room for the zero), which the pool hands to the general heap. */
int TextBlockSize(size_t length)
{
    if (length < kShortTextLimit)
        return static_cast<int>(kShortTextLimit);
    if (length < kMediumTextLimit)
        return static_cast<int>(kMediumTextLimit);
    if (length < kLongTextLimit)
        return static_cast<int>(kLongTextLimit);
    return static_cast<int>((length & ~static_cast<size_t>(3)) + 4);
}
} // namespace

BinaryTree::BinaryTree()
{
    std::lock_guard<std::mutex> hold(PoolsLock());
    if (sharedPools.nodes == nullptr)
    {
        sharedPools.nodes = new XMemPool(sizeof(Node), kNodesPerChunk, 0, "BTNode");
        sharedPools.shortTexts = XMemPool::Create(kShortTextLimit, kShortTextsPerChunk);
        sharedPools.mediumTexts = XMemPool::Create(kMediumTextLimit, kMediumTextsPerChunk);
        sharedPools.longTexts = XMemPool::Create(kLongTextLimit, kLongTextsPerChunk);
        return;
    }
    sharedPools.nodes->AddRef();
    sharedPools.shortTexts->AddRef();
    sharedPools.mediumTexts->AddRef();
    sharedPools.longTexts->AddRef();
}

BinaryTree::~BinaryTree()
{
    if (IsShuttingDown())
        return;
    std::lock_guard<std::mutex> hold(PoolsLock());
    ReleasePool(sharedPools.nodes);
    ReleasePool(sharedPools.shortTexts);
    ReleasePool(sharedPools.mediumTexts);
    ReleasePool(sharedPools.longTexts);
}

char* BinaryTree::CopyText(const char* text)
{
    if (text == nullptr)
        text = "";
    const size_t length = std::strlen(text);
    if (length >= static_cast<size_t>(INT32_MAX) - 4)
        return nullptr;
    auto* copy = static_cast<char*>(TextPoolFor(length)->Alloc(TextBlockSize(length)));
    if (copy != nullptr)
        std::memcpy(copy, text, length + 1);
    return copy;
}

void BinaryTree::FreeText(char* text)
{
    if (text == nullptr)
        return;
    const size_t length = std::strlen(text);
    TextPoolFor(length)->Free(text, TextBlockSize(length));
}

bool BinaryTree::StorePointer(Node* node, void* value)
{
    if (value == nullptr)
        return false;
    node->value = value;
    return true;
}

const char* BinaryTree::KeyToText(Key key) const
{
    thread_local char text[kKeyTextSize];
    std::snprintf(text, sizeof(text), "%p", reinterpret_cast<void*>(key));
    return text;
}

bool BinaryTree::IsUnbalanced(const Node* n) const
{
    return std::abs(n->leftCount - n->rightCount) > rebalanceThreshold;
}

int32_t BinaryTree::Insert(Key key, void* value)
{
    Node* parent = nullptr;
    bool goesLeft = false;
    for (Node* node = root; node != nullptr;)
    {
        const int order = Compare(key, node->key);
        if (order == 0)
        {
            // Store the new value before the old one goes: the new one may be made from the old.
            void* oldValue = node->value;
            if (!SetValue(node, value))
            {
                node->value = oldValue;
                return 0;
            }
            if (oldValue != nullptr)
                FreeValue(oldValue);
            return 1;
        }
        parent = node;
        goesLeft = order == -1;
        node = goesLeft ? node->left : node->right;
    }

    auto* node = static_cast<Node*>(sharedPools.nodes->Alloc(sizeof(Node)));
    if (node == nullptr)
        return 0;
    std::memset(node, 0, sizeof(Node));
    const bool keyCopied = CopyKey(node, key);
    if (!keyCopied || !SetValue(node, value))
    {
        if (keyCopied && node->key != 0)
            FreeKey(node->key);
        sharedPools.nodes->Free(node, sizeof(Node));
        return 0;
    }

    node->parent = parent;
    if (parent == nullptr)
    {
        root = node;
        return 1;
    }
    if (goesLeft)
    {
        parent->left = node;
        parent->leftCount = 1;
    }
    else
    {
        parent->right = node;
        parent->rightCount = 1;
    }
    UpdateCountsFrom(parent);
    return 1;
}

BinaryTree::Node* BinaryTree::FindNode(Key key) const
{
    Node* node = root;
    while (node != nullptr)
    {
        const int order = Compare(key, node->key);
        if (order == 0)
            return node;
        node = order == -1 ? node->left : node->right;
    }
    return nullptr;
}

void* BinaryTree::Find(Key key) const
{
    return GetNodeValue(FindNode(key));
}

bool BinaryTree::Remove(Key key)
{
    Node* node = FindNode(key);
    if (node == nullptr)
        return false;
    RemoveNode(node);
    return true;
}

void BinaryTree::RemoveNode(Node* node)
{
    if (node == nullptr)
        return;
    Node* parent = node->parent;
    Node* replacement = nullptr;
    Node* highestUnbalanced = nullptr;

    // The bigger side (the right one on a tie) takes the node's place; the other side hangs under the
    // replacement's extreme node on the far side: the right subtree under the rightmost node of the
    // left subtree, or the left subtree under the leftmost node of the right subtree.
    if (node->leftCount > node->rightCount)
    {
        replacement = node->left;
        highestUnbalanced = HangUnderExtreme(replacement, node->right, &Node::right, &Node::rightCount);
    }
    else if (node->right != nullptr)
    {
        replacement = node->right;
        highestUnbalanced = HangUnderExtreme(replacement, node->left, &Node::left, &Node::leftCount);
    }

    if (replacement != nullptr)
        replacement->parent = parent;
    ReplaceChild(parent, node, replacement);

    if (node->key != 0)
        FreeKey(node->key);
    if (node->value != nullptr)
        FreeValue(node->value);
    sharedPools.nodes->Free(node, sizeof(Node));

    UpdateCountsFrom(highestUnbalanced != nullptr ? highestUnbalanced : parent);
}

BinaryTree::Node* BinaryTree::HangUnderExtreme(Node* top, Node* hung, Node* Node::*side,
                                               int32_t Node::*sideCount)
{
    if (hung == nullptr)
        return nullptr;
    Node* extreme = top;
    while (extreme->*side != nullptr)
        extreme = extreme->*side;
    extreme->*side = hung;
    hung->parent = extreme;
    Node* highestUnbalanced = nullptr;
    for (Node* n = extreme;; n = n->parent)
    {
        n->*sideCount = SizeOf(n->*side);
        if (IsUnbalanced(n))
            highestUnbalanced = n;
        if (n == top)
            return highestUnbalanced;
    }
}

void BinaryTree::RemoveAll()
{
    // Bottom-up without recursion: descend to a leaf, free it, continue from its parent.
    Node* node = root;
    while (node != nullptr)
    {
        if (node->left != nullptr)
        {
            node = node->left;
            continue;
        }
        if (node->right != nullptr)
        {
            node = node->right;
            continue;
        }
        Node* parent = node->parent;
        if (parent != nullptr)
        {
            if (parent->left == node)
                parent->left = nullptr;
            else
                parent->right = nullptr;
        }
        if (node->key != 0)
            FreeKey(node->key);
        if (node->value != nullptr)
            FreeValue(node->value);
        sharedPools.nodes->Free(node, sizeof(Node));
        node = parent;
    }
    root = nullptr;
}

BinaryTree::Node* BinaryTree::FirstNode() const
{
    Node* node = root;
    while (node != nullptr && node->left != nullptr)
        node = node->left;
    return node;
}

BinaryTree::Node* BinaryTree::NextNode(const Node* node)
{
    if (node == nullptr)
        return nullptr;
    if (node->right != nullptr)
    {
        Node* next = node->right;
        while (next->left != nullptr)
            next = next->left;
        return next;
    }
    while (node->parent != nullptr && node->parent->right == node)
        node = node->parent;
    return node->parent;
}

void BinaryTree::ReplaceChild(Node* parent, Node* oldChild, Node* newChild)
{
    if (parent == nullptr)
        root = newChild;
    else if (parent->left == oldChild)
    {
        parent->left = newChild;
        parent->leftCount = SizeOf(newChild);
    }
    else
    {
        parent->right = newChild;
        parent->rightCount = SizeOf(newChild);
    }
}

void BinaryTree::UpdateCountsFrom(Node* n)
{
    if (n == nullptr)
        return;
    Node* highestUnbalanced = nullptr;
    Node* node = n;
    while (node->parent != nullptr)
    {
        if (IsUnbalanced(node))
            highestUnbalanced = node;
        Node* parent = node->parent;
        if (parent->left == node)
            parent->leftCount = SizeOf(node);
        else
            parent->rightCount = SizeOf(node);
        node = parent;
    }
    if (IsUnbalanced(node))
        Rebalance(node);
    else if (highestUnbalanced != nullptr)
        Rebalance(highestUnbalanced);
}

void BinaryTree::RotateUp(Node* node)
{
    Node* parent = node->parent;
    Node* grandParent = parent->parent;
    if (parent->left == node)
    {
        parent->left = node->right;
        parent->leftCount = node->rightCount;
        if (node->right != nullptr)
            node->right->parent = parent;
        node->right = parent;
        node->rightCount = SizeOf(parent);
    }
    else
    {
        parent->right = node->left;
        parent->rightCount = node->leftCount;
        if (node->left != nullptr)
            node->left->parent = parent;
        node->left = parent;
        node->leftCount = SizeOf(parent);
    }
    parent->parent = node;
    node->parent = grandParent;
    // The subtree keeps its size, so the grandparent's count stays right.
    if (grandParent == nullptr)
        root = node;
    else if (grandParent->left == parent)
        grandParent->left = node;
    else
        grandParent->right = node;
}

BinaryTree::Node* BinaryTree::LiftToTop(Node* top, int32_t index)
{
    Node* median = top;
    while (index != median->leftCount)
    {
        if (index < median->leftCount)
            median = median->left;
        else
        {
            index -= median->leftCount + 1;
            median = median->right;
        }
    }
    Node* const aboveTop = top->parent;
    while (median->parent != aboveTop)
        RotateUp(median);
    return median;
}

void BinaryTree::Rebalance(Node* top)
{
    std::array<Node*, kRebalanceStackSize> pending;
    int pendingCount = 0;
    pending[pendingCount++] = top;
    while (pendingCount > 0)
    {
        Node* subtree = pending[--pendingCount];
        const int32_t total = SizeOf(subtree);
        if (total <= 2)
            continue;
        const int32_t medianIndex = total / 2;
        if (subtree->leftCount != medianIndex)
            subtree = LiftToTop(subtree, medianIndex);
        if (SizeOf(subtree->left) > 2 && pendingCount < kRebalanceStackSize)
            pending[pendingCount++] = subtree->left;
        if (SizeOf(subtree->right) > 2 && pendingCount < kRebalanceStackSize)
            pending[pendingCount++] = subtree->right;
    }
}
