#pragma once
// A readable description of a media configuration, for building test and
// demo levels:
//
//   # a comment line
//   Version=VER1.5            header fields by name; numbers are decimal or
//   HeaderOptions=0x1000      0x hexadecimal, texts take \r \n \t and a doubled backslash
//   Reserved=00 01 ... 0F     the 16 reserved bytes in hexadecimal
//   HeaderText=Made by hand
//   File=intro.bmp            an entry of the media file list
//   FileRefs=2                the use count of the last entry (default 1)
//   [Trigger]                 a new record, then its fields by name:
//   TypeFlags=0x80            TypeFlags Options MediaFile SoundFile Color
//   Text=<TEXT>Hi<END_TEXT>   Align CharRow BoundRect=l:t:r:b Effect
//   TriggerCd=12              ScrollStep ScrollDelay DelayMicros Flags Font
//                             Text Syntax TriggerCd SoundCd AntiTriggerCd
//                             Repeat BackColor FadeTime EndWait DelaySeconds
//                             Duration MediaCode Level
//
// Texts are UTF-8, as the program holds them.
// A new record starts with TriggerCd 999 and Level -1, every other field 0
// or empty. TriggerCount and MediaFileCount are counted from the lines.
// Records triggered by a CD track are written first, each group in the
// order of the description.
#include <string>

// Fills HeaderMcf and ListaMedia; False with the reason in <errore>.
bool LeggiDescrizioneMcf(const std::string& descrizione, std::string& errore);
// The description of HeaderMcf and ListaMedia.
std::string DescriviMcf();
