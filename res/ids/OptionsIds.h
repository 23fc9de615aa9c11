// Options dialog: output folder, naming pattern, format and encoder settings, start with Windows.
#pragma once

// Template 130. The capture folder's label, edit and browse button stay hidden; the field is
// still read and saved with the others.
#define IDD_OPTIONS 130
#define IDC_OPTIONS_WMA_CODEC 1002
#define IDC_OPTIONS_WMA_FORMAT 1003
#define IDC_OPTIONS_BITRATE 1004
#define IDC_OPTIONS_OUTPUT_LABEL 1005
#define IDC_OPTIONS_FILENAME_LABEL 1006
#define IDC_OPTIONS_FORMAT_GROUP 1007
#define IDC_OPTIONS_BITRATE_LABEL 1008
#define IDC_OPTIONS_CODEC_LABEL 1009
#define IDC_OPTIONS_WMA_FORMAT_LABEL 1010
#define IDC_OPTIONS_OUTPUT_FOLDER 1017
#define IDC_OPTIONS_CAPTURE_FOLDER 1018
#define IDC_OPTIONS_MP3 1019
#define IDC_OPTIONS_WMA 1020
#define IDC_OPTIONS_WAV 1021
#define IDC_OPTIONS_ID3V1 1022
#define IDC_OPTIONS_ID3V2 1023
#define IDC_OPTIONS_BROWSE_OUTPUT 1024
#define IDC_OPTIONS_BROWSE_CAPTURE 1025
#define IDC_OPTIONS_MP3_GROUP 1030
#define IDC_OPTIONS_WMA_GROUP 1031
#define IDC_OPTIONS_RUN_ON_STARTUP 1049
#define IDC_OPTIONS_CAPTURE_LABEL 1098
#define IDC_OPTIONS_FILENAME_FORMAT 1111

// The filename presets live in the template's initialisation data: a resource of type 240 with
// the template's number, holding records of WORD control id, WORD 0x0403 (add a string to a
// combo box), DWORD byte count, then that many bytes of zero-terminated text, packed without
// padding; a WORD 0 ends the list.
#define RT_DLGINIT_ID 240
#define DLGINIT_COMBO_ADDSTRING 0x0403
