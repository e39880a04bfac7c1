#include "ParsedData.h"

const ParsedTable* ParsedData::Table(int number) const {
    for (const ParsedTable& table : Tables) {
        if (table.Number == number)
            return &table;
    }
    return nullptr;
}

int ParsedData::ItemCount(int number) const {
    const ParsedTable* table = Table(number);
    return table ? table->Rows() : 0;
}

double ParsedData::GeneralNumber(int item) const {
    return item >= 1 && item <= static_cast<int>(General.size()) ? General[item - 1].Number : 0;
}

int ParsedData::GeneralLine(int item) const {
    return item >= 1 && item <= static_cast<int>(General.size()) ? General[item - 1].Line
                                                                 : GeneralHeaderLine;
}
