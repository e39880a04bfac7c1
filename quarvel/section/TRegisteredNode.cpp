#include "TRegisteredNode.h"

TRegisteredNode::TRegisteredNode(const ViewValues& view, QPoint pixel)
    : Node(std::make_unique<TNode>(view, pixel)) {}

TRegisteredNode::TRegisteredNode(const ViewValues& view, double realY, double realZ)
    : Node(std::make_unique<TNode>(view, realY, realZ)) {}
