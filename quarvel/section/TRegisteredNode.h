#pragma once

#include "TNode.h"

#include <memory>

// A node as the editor keeps it in its node list: the shapes and guides that use it count
// themselves in RefCount, and the editor drops nodes nobody uses any more.
class TRegisteredNode {
public:
    TRegisteredNode(const ViewValues& view, QPoint pixel);
    TRegisteredNode(const ViewValues& view, double realY, double realZ);

    std::unique_ptr<TNode> Node;
    int RefCount = 0;
};
