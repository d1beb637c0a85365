#pragma once
// The readable form of the binary component stream, as skin sources are
// written:
//
//   object Form: TSeSkinObject
//     Kind = skForm
//     Width = 300
//     Font.Style = [fsBold, fsItalic]
//     Caption = 'It''s'#13#10'two lines'
//     Objects = {
//       04000000 000F0000}
//     Values = (
//       1
//       'two')
//     Items = <
//       item [2]
//         Caption = 'a'
//       end>
//     object Child: TSeSkinObject
//     end
//   end
//
// Integers are decimal; texts are quoted runs and #n bytes (n 0..255) side
// by side; True, False and Null are words of the notation. An object without
// a name is written "object TClass". Every stream the writer makes turns
// into text and back into the same bytes.

#include "platform/classlib/Streams.h"

namespace tarvel {

// From the position of `input` to one component stream's end; `output`
// receives the text only when all of it converts. Damaged data, and names
// or identifiers the notation cannot hold, raise EReadError.
void ObjectBinaryToText(TStream& input, TStream& output);
// The whole rest of `input`; an error raises EReadError naming the line.
void ObjectTextToBinary(TStream& input, TStream& output);

}  // namespace tarvel
