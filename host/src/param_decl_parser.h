// The reader of block declarations: the fixed arguments' continuation (version, reference
// number, rollouts) and each parameter's tags, as the SDK documents them.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "iparamb2.h"

struct ParamBlockDesc2::Storage {
    std::vector<int> index;                // parameter id -> index, -1: none
    std::vector<const ParamDef*> byIndex;  // the parameters in order, without a deque's lookup
    std::deque<Point3> points;
    std::deque<std::vector<int>> idLists;
    std::deque<Tab<int>> itemLists;
    std::string error;  // the first fault
};

namespace quarel_host {

struct DeclParser {
    using Args = std::initializer_list<PB2Arg>;
    // The block's continuation after its fixed arguments, ending with p_end.
    static void Block(ParamBlockDesc2& d, Args args);
    static void AddParam(ParamBlockDesc2& d, ParamID id, Args args);
    static void Option(ParamBlockDesc2& d, ParamID id, int tag, Args args);
    static void SetItems(ParamBlockDesc2& d, ParamID id, const Tab<int>& items);
    static ParamBlockDesc2::Storage& StorageOf(ParamBlockDesc2& d) { return *d.mStorage; }
    static void Fail(ParamBlockDesc2& d, const std::string& what);
};

}  // namespace quarel_host
