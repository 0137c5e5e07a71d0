#pragma once
// Why a store's index is not whole. An index that is not whole is no failure: the run then goes on
// without it, and the report tells why in one sentence.
enum class IndexDamage {
  None,
  NotIndexed,        // the file does not begin with the header of its kind
  CountWithoutTree,  // a count of values but no tree, as other tools write stores
  OutsideFile,       // an offset or a length points beyond the file's end
  WrongMarker,       // a node or record does not hold its own offset
  ReachedTwice,      // a node or record reached twice, a node overlapping another, or a folder id given twice
  CountOutside,      // a count or length runs past its object
  CountDisagrees,    // the walk finds another number of values than the header gives
  Unreadable,        // a byte of the index lies in a sector that cannot be read
  FieldMissing,      // a message info without its first block's offset
  ParentCycle,       // folders whose parents lead round in a circle
};
