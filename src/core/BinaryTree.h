#pragma once

#include <cstdint>

/** An ordered map on one weight-balanced binary tree: the base of StringToPtrMap, LongToPtrMap and
    StringToStringMap, which say through the virtual operations how keys and values are copied,
    freed and compared.

    Every node counts the nodes in its left and right subtrees; after each change the highest node
    on the changed path whose two counts differ by more than the threshold (15) has its subtree
    rebuilt perfectly balanced around its median, so look-ups stay logarithmic. Nodes and key texts
    come from process-wide pools shared by all trees.

    A tree is not locked: share one between threads only under a lock of the caller's. A concrete
    map must call RemoveAll in its own destructor (the base cannot call the virtual operations). */
class BinaryTree
{
public:
    /** A key: an integer or a pointer to a key text, at pointer width. */
    using Key = intptr_t;

    struct Node
    {
        Key key;
        void* value;
        Node* parent;
        Node* left;
        int32_t leftCount;
        Node* right;
        int32_t rightCount;
    };

    static constexpr int32_t kRebalanceThreshold = 15;

    BinaryTree();
    BinaryTree(const BinaryTree&) = delete;
    BinaryTree& operator=(const BinaryTree&) = delete;
    virtual ~BinaryTree();

    /** Inserts or replaces; true when stored. A null value is refused (false, tree unchanged). */
    bool Add(Key key, void* value) { return Insert(key, value) != 0; }
    /** As Add; nonzero when stored. */
    int32_t Insert(Key key, void* value);
    /** The value under key, null when absent. */
    void* Find(Key key) const;
    Node* FindNode(Key key) const;
    /** Removes the node with that key; true when found. */
    bool Remove(Key key);
    /** Removes a node of this tree (freeing its key and value); null does nothing. */
    void RemoveNode(Node* node);
    /** Frees every node with its key and value. */
    void RemoveAll();

    static Key GetNodeKey(const Node* node) { return node != nullptr ? node->key : 0; }
    static void* GetNodeValue(const Node* node) { return node != nullptr ? node->value : nullptr; }

    Node* GetRoot() const { return root; }
    int32_t GetCount() const { return root != nullptr ? root->leftCount + root->rightCount + 1 : 0; }
    /** In-order walk: the first node, then NextNode until null. */
    Node* FirstNode() const;
    static Node* NextNode(const Node* node);

    /** The key as text for messages; may use a per-thread buffer valid until the next call. */
    virtual const char* KeyToText(Key key) const;

protected:
    virtual void FreeKey(Key key) = 0;
    virtual void FreeValue(void* value) = 0;
    /** Stores a copy of key in the node; false when no copy could be made. */
    virtual bool CopyKey(Node* node, Key key) = 0;
    /** Stores value (or a copy of it) in the node; false for null or when no copy could be made. */
    virtual bool SetValue(Node* node, void* value) = 0;
    /** -1, 0 or 1 as a sorts before, equal to or after b. */
    virtual int Compare(Key a, Key b) const = 0;

    /** Stores a pointer value as it is; false for null. */
    static bool StorePointer(Node* node, void* value);
    /** A copy of text from the shared key-text pools; null when memory runs out. */
    static char* CopyText(const char* text);
    /** Gives a text made by CopyText back; null does nothing. */
    static void FreeText(char* text);

private:
    /** Brings the subtree counts up to date from node n to the root, then rebalances the highest
        unbalanced node on that path. */
    void UpdateCountsFrom(Node* n);
    /** Rebuilds the subtree under top perfectly balanced (in-order sequence unchanged). */
    void Rebalance(Node* top);
    /** Lifts the node at in-order position index of top's subtree to the top; returns it. */
    Node* LiftToTop(Node* top, int32_t index);
    /** One rotation that moves node above its parent, keeping the counts. */
    void RotateUp(Node* node);
    /** Hangs the subtree hung under the node reached from top by following side to its end, updates
        the counts on that path and returns the highest node on it left unbalanced (null when none). */
    Node* HangUnderExtreme(Node* top, Node* hung, Node* Node::*side, int32_t Node::*sideCount);
    void ReplaceChild(Node* parent, Node* oldChild, Node* newChild);
    bool IsUnbalanced(const Node* n) const;
    static int32_t SizeOf(const Node* n) { return n != nullptr ? n->leftCount + n->rightCount + 1 : 0; }

    Node* root = nullptr;
    int32_t rebalanceThreshold = kRebalanceThreshold;
};
