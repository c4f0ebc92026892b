// The loaders and writers that DB_Load and DB_Save hand each file format to.
// Every loader fills a handle that holds no dictionary and leaves the ready
// flag to DB_Load; every writer leaves the dictionary as it is. On failure
// each returns false with its message, if it has one, in the message buffer.
//
//   DB_Load   1 V03 file               LoadV03       (v03_file.h)
//             2 legacy version-2 set   LoadV02       (legacy_format.h)
//             3 Freelang database      LoadFreelang  (freelang_format.h)
//             4 Freelang directory     LoadFreelang  (the path is one database file)
//             5 plain text             LoadTxt       (txt_format.h)
//   DB_Save   6 V03 file               SaveV03       (v03_file.h)
//             7 Freelang database      SaveFreelang  (freelang_format.h)
//             8 plain text             SaveTxt       (txt_format.h)
#pragma once

#include "engine/formats/freelang_format.h"
#include "engine/formats/legacy_format.h"
#include "engine/formats/txt_format.h"
#include "engine/formats/v03_file.h"
