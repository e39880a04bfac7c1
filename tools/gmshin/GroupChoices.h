#pragma once

#include "GroupMap.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What a window that lets the user give each physical group of a mesh its role works with,
// without the window: the groups as "Gmshin --groups" lists them, each with the role the map
// beside the data file gave it before, and the map the choices make. A group the mesh no longer
// has drops out of the map; one it did not have before starts without a role.
class GroupChoices {
public:
    struct Row {
        int Dimension = 0;
        int Tag = 0;
        QString Name;                       // empty for a group without a name
        int Count = 0;                      // its elements
        std::optional<GroupMap::Role> Role; // none: the group is left out of the map
        std::vector<double> Values;
    };

    // The rows of "Gmshin --groups" output, with the roles of `previous`. Lines that are not
    // four tab-separated fields are skipped.
    static std::vector<Row> FromListing(const QStringList& lines, const GroupMap& previous);
    // The map of the rows that have a role.
    static GroupMap ToMap(const std::vector<Row>& rows);
};
