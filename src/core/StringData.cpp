// The built-in user-interface texts in their stored form: pairs of texts, each
// ended by a zero code unit. ("_GROUP_", name) opens a group, ("_END_", "") ends
// the sequence, any other pair is (key, value) of the group opened last.

#include "core/StringTable.h"

namespace tarvix {

#define Z u"\0"
// clang-format off
const char16_t kStringTableData[] =
    u"_GROUP_" Z u"Menu" Z
    u"File" Z u"File" Z
    u"New" Z u"New" Z
    u"Open" Z u"Open..." Z
    u"Save As" Z u"Save As..." Z
    u"Select Input File" Z u"Add Input File..." Z
    u"Select Input Files" Z u"Add Input Files..." Z
    u"Select Input Folder" Z u"Add Input Folder..." Z
    u"Delete Input Files" Z u"Delete Files From the List" Z
    u"Select Output Folder" Z u"Select Output Folder..." Z
    u"Output Format Options" Z u"Options..." Z
    u"Import Input Files" Z u"Import Files..." Z
    u"Export Input Files" Z u"Export Files..." Z
    u"Exit" Z u"Exit" Z
    u"Edit" Z u"Edit" Z
    u"Copy" Z u"Copy" Z
    u"Delete" Z u"Delete" Z
    u"Select All" Z u"Select All" Z
    u"Converter" Z u"Converter" Z
    u"Convert" Z u"Convert" Z
    u"Preview" Z u"Preview" Z
    u"Custom Converter" Z u"Find a File Converter..." Z
    u"Preferences" Z u"Preferences..." Z
    u"Help" Z u"Help" Z
    u"Manual" Z u"User Manual..." Z
    u"Send Feedback" Z u"Send Feedback" Z
    u"Visit Homepage" Z u"Visit the Program's Homepage" Z
    u"Check For New Version" Z u"Check For a New Version" Z
    u"About" Z u"About..." Z
    u"_GROUP_" Z u"General" Z
    u"Input File" Z u"Input File:" Z
    u"Input Files" Z u"Input Files:" Z
    u"Filename" Z u"Filename" Z
    u"Output Folder" Z u"Output Folder:" Z
    u"Output Format" Z u"Output Format:" Z
    u"Convert" Z u"Convert" Z
    u"Ready" Z u"Ready" Z
    u"Preparing" Z u"Preparing..." Z
    u"Importing" Z u"Importing..." Z
    u"Converting" Z u"Converting..." Z
    u"And more" Z u"and %s1% more" Z
    u"_GROUP_" Z u"Msg" Z
    u"Error" Z u"Error" Z
    u"Warning" Z u"Warning" Z
    u"Insufficient memory" Z u"Insufficient Memory" Z
    u"Unable to open file" Z u"Unable to open the file: %s1%!" Z
    u"Unable to save file" Z u"Unable to save the file: %s1%!" Z
    u"Empty input files" Z u"No input file(s) found. Please, add valid file(s) and try again!" Z
    u"Empty input folder" Z u"The input folder's field is empty. Please, check the existed input folder and try again!" Z
    u"Invalid input folder" Z u"The following input folder is invalid or doesn't exist:\r\n%s1%\r\n\r\nPlease, correct the input path and try again!" Z
    u"Empty output folder" Z u"The output folder's field is empty. Please, select existed output folder and try again!" Z
    u"Invalid output folder" Z u"The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\nPlease, correct the output path and try again!" Z
    u"Invalid width" Z u"Invalid resize width value!" Z
    u"Invalid height" Z u"Invalid resize height value!" Z
    u"Invalid conversion type" Z u"Invalid conversion type!" Z
    u"Invalid watermark font" Z u"Unable to load selected font for a watermark: %s1%" Z
    u"Empty watermark image" Z u"Selected watermark image is invalid/empty!" Z
    u"Invalid watermark image" Z u"Unable to load selected file as a watermark image: %s1%" Z
    u"Import complete" Z u"Import complete, new files added: %s1%" Z
    u"Import is not complete" Z u"Import stopped" Z
    u"Export complete" Z u"Export complete, entries saved: %s1%" Z
    u"Export is not complete" Z u"Export stopped" Z
    u"Conversion complete" Z u"Conversion complete" Z
    u"Conversion is not complete" Z u"Conversion stopped" Z
    u"Progress" Z u"(%s1%/%s2%)" Z
    u"Files converted" Z u"Files converted: %s1% of %s2%" Z
    u"Files failed" Z u"Not converted: %s1% (see Details)" Z
    u"New Update" Z u"New Update" Z
    u"New Update Text" Z u"A new version of Orvella DDS to JPG is available! Are you ready to download it right now?" Z
    u"No Update" Z u"No Update" Z
    u"No Update Text" Z u"There is no update of Orvella DDS to JPG yet. You're using the most recent version." Z
    u"Check for Updates" Z u"Check for Updates" Z
    u"Ask check for updates" Z u"Do you want to check for updates?" Z
    u"Reset to Defaults" Z u"Reset to Defaults" Z
    u"Ask reset to defaults" Z u"Are you sure you want to reset all your settings to the default values?" Z
    u"Internet connection problems" Z u"Internet connection problems!" Z
    u"Ask overwrite file" Z u"The file already exist. Do you want to overwrite it?" Z
    u"Clean recent files" Z u"Clean Recent Files" Z
    u"Ask clean recent files" Z u"Do you want to clean the recent files list?" Z
    u"Ask continue to find" Z u"No matches of %s1% found!\r\n\r\nDo you want to search from the start of the list?" Z
    u"Ask break import" Z u"Do you want to break the import?" Z
    u"Ask break export" Z u"Do you want to break the export?" Z
    u"Ask break conversion" Z u"Do you want to break the conversion?" Z
    u"Empty extensions" Z u"Please, fill all required fields and try again!" Z
    u"_GROUP_" Z u"Dialog" Z
    u"Select Input Files" Z u"Select Input Files" Z
    u"Select Input Folder" Z u"Select Input Folder" Z
    u"Select Output Folder" Z u"Select Output Folder" Z
    u"Import Input Files" Z u"Import Input Files From A List" Z
    u"Export Input Files" Z u"Export Input Files" Z
    u"Select Watermark Image" Z u"Select Watermark Image" Z
    u"All Supported Files" Z u"All Supported Files" Z
    u"Text Files" Z u"Text Files" Z
    u"All Files" Z u"All Files" Z
    u"Import Progress" Z u"Importing" Z
    u"Export Progress" Z u"Exporting" Z
    u"Convert Progress" Z u"Converting" Z
    u"OK" Z u"OK" Z
    u"Cancel" Z u"Cancel" Z
    u"Help" Z u"Help" Z
    u"Defaults" Z u"Defaults" Z
    u"Details" Z u"Details..." Z
    u"Open Output Folder" Z u"Open Output Folder" Z
    u"Failed Files" Z u"Files Not Converted" Z
    u"Close" Z u"Close" Z
    u"Preview" Z u"Preview" Z
    u"Actual Size" Z u"Actual Size (1:1)" Z
    u"Preview Size" Z u"%s1% x %s2% pixels, %s3% bytes: %s4%" Z
    u"Preview Working" Z u"Converting..." Z
    u"Preview Empty" Z u"No input file to show. Add an input file or folder." Z
    u"_GROUP_" Z u"Preferences" Z
    u"None" Z u"None" Z
    u"Auto" Z u"Auto" Z
    u"General" Z u"General" Z
    u"Every day" Z u"Every day" Z
    u"Every week" Z u"Every week" Z
    u"Every month" Z u"Every month" Z
    u"Every 3 months" Z u"Every 3 months" Z
    u"Every 6 months" Z u"Every 6 months" Z
    u"Never" Z u"Never" Z
    u"Interface" Z u"Interface" Z
    u"Small" Z u"Small" Z
    u"Medium" Z u"Medium" Z
    u"Large" Z u"Large" Z
    u"Extra Large" Z u"Extra Large" Z
    u"Huge" Z u"Huge" Z
    u"Input" Z u"Input" Z
    u"Linear" Z u"Linear" Z
    u"Adaptive Logarithmic" Z u"Adaptive Logarithmic" Z
    u"DR Reduction" Z u"DR Reduction" Z
    u"Gradient Domain" Z u"Gradient Domain" Z
    u"Output" Z u"Output" Z
    u"RLE" Z u"RLE" Z
    u"ZIP" Z u"ZIP" Z
    u"PXR24" Z u"PXR24" Z
    u"B44" Z u"B44" Z
    u"LZW" Z u"LZW" Z
    u"JPEG" Z u"JPEG" Z
    u"Exact" Z u"Exact" Z
    u"RGB" Z u"RGB" Z
    u"CMYK" Z u"CMYK" Z
    u"LAB" Z u"LAB" Z
    u"Low" Z u"Low" Z
    u"Medium" Z u"Medium" Z
    u"High" Z u"High" Z
    u"Baseline Standard" Z u"Baseline Standard" Z
    u"Baseline Simple" Z u"Baseline Simple" Z
    u"Baseline Optimized" Z u"Baseline Optimized" Z
    u"Progressive" Z u"Progressive" Z
    u"Transform" Z u"Transform" Z
    u"All Images" Z u"All Images" Z
    u"Large Images" Z u"Large Images" Z
    u"Box" Z u"Box" Z
    u"Bilinear" Z u"Bilinear" Z
    u"Bicubic" Z u"Bicubic" Z
    u"Lanczos" Z u"Lanczos" Z
    u"Adjustment" Z u"Adjustment" Z
    u"Frame" Z u"Frame" Z
    u"Watermark" Z u"Watermark" Z
    u"Color" Z u"Color" Z
    u"Black" Z u"Black" Z
    u"Silver" Z u"Silver" Z
    u"Gray" Z u"Gray" Z
    u"White" Z u"White" Z
    u"Maroon" Z u"Maroon" Z
    u"Red" Z u"Red" Z
    u"Purple" Z u"Purple" Z
    u"Fuchsia" Z u"Fuchsia" Z
    u"Green" Z u"Green" Z
    u"Lime" Z u"Lime" Z
    u"Olive" Z u"Olive" Z
    u"Yellow" Z u"Yellow" Z
    u"Navy" Z u"Navy" Z
    u"Blue" Z u"Blue" Z
    u"Teal" Z u"Teal" Z
    u"Aqua" Z u"Aqua" Z
    u"Orange" Z u"Orange" Z
    u"Brown" Z u"Brown" Z
    u"Violet" Z u"Violet" Z
    u"Regular" Z u"Regular" Z
    u"Bold" Z u"Bold" Z
    u"Italic" Z u"Italic" Z
    u"Bold Italic" Z u"Bold Italic" Z
    u"Underline" Z u"Underline" Z
    u"Top-Left" Z u"Top-Left" Z
    u"Top-Center" Z u"Top-Center" Z
    u"Top-Right" Z u"Top-Right" Z
    u"Middle-Left" Z u"Middle-Left" Z
    u"Middle-Center" Z u"Middle-Center" Z
    u"Middle-Right" Z u"Middle-Right" Z
    u"Bottom-Left" Z u"Bottom-Left" Z
    u"Bottom-Center" Z u"Bottom-Center" Z
    u"Bottom-Right" Z u"Bottom-Right" Z
    u"Fixed" Z u"Fixed" Z
    u"Proportional" Z u"Proportional" Z
    u"Fit" Z u"Fit" Z
    u"Fill" Z u"Fill" Z
    u"Advanced" Z u"Advanced" Z
    u"Current" Z u"Current" Z
    u"Original" Z u"Original" Z
    u"Custom" Z u"Custom" Z
    u"Export" Z u"Export" Z
    u"Privacy" Z u"Privacy" Z
    u"Language" Z u"Language:" Z
    u"Check for Updates" Z u"Check for Updates:" Z
    u"Input Format" Z u"Input Format:" Z
    u"Header Size" Z u"Header Size:" Z
    u"Load As" Z u"Load As:" Z
    u"Mip Level" Z u"Mip Level:" Z
    u"Layer" Z u"Array Item or Slice:" Z
    u"Cube Layout" Z u"Cube Faces:" Z
    u"Normal Map" Z u"Normal Map:" Z
    u"Alpha" Z u"Transparency:" Z
    u"First Face" Z u"First face" Z
    u"Horizontal Cross" Z u"Horizontal cross" Z
    u"Face Strip" Z u"All six in a row" Z
    u"As Stored" Z u"As stored" Z
    u"Rebuild" Z u"Rebuild" Z
    u"Drop Alpha" Z u"Drop" Z
    u"Over Background" Z u"Over the background color" Z
    u"Frame Loading" Z u"Frame Loading:" Z
    u"Output Format" Z u"Output Format:" Z
    u"Bits Per Pixel" Z u"Bits Per Pixel:" Z
    u"Compression" Z u"Compression:" Z
    u"Color Table" Z u"Color Table:" Z
    u"Color Model" Z u"Color Model:" Z
    u"Image Quality" Z u"Image Quality:" Z
    u"Chroma Subsampling" Z u"Chroma Subsampling:" Z
    u"Save As" Z u"Save As:" Z
    u"Interlaced" Z u"Interlaced:" Z
    u"Image Rotation" Z u"Image Rotation:" Z
    u"Rotation Type" Z u"Rotation Type:" Z
    u"Rotation Angle" Z u"Rotation Angle:" Z
    u"Background Color" Z u"Background Color:" Z
    u"Image Resize" Z u"Image Resize:" Z
    u"Image Width" Z u"Image Width:" Z
    u"Image Height" Z u"Image Height:" Z
    u"Resize Type" Z u"Resize Type:" Z
    u"Resize Algorithm" Z u"Resize Algorithm:" Z
    u"Image Brightness" Z u"Image Brightness:" Z
    u"Image Contrast" Z u"Image Contrast:" Z
    u"Image Threshold" Z u"Image Threshold:" Z
    u"Threshold Level" Z u"Threshold Level:" Z
    u"Left" Z u"Left:" Z
    u"Right" Z u"Right:" Z
    u"Top" Z u"Top:" Z
    u"Bottom" Z u"Bottom:" Z
    u"Left Color" Z u"Left Color:" Z
    u"Right Color" Z u"Right Color:" Z
    u"Top Color" Z u"Top Color:" Z
    u"Bottom Color" Z u"Bottom Color:" Z
    u"Text" Z u"Text:" Z
    u"Image" Z u"Image:" Z
    u"Font" Z u"Font:" Z
    u"Font Size" Z u"Font Size:" Z
    u"Font Leading" Z u"Font Leading:" Z
    u"Font Color" Z u"Font Color:" Z
    u"Font Style" Z u"Font Style:" Z
    u"Font Effect" Z u"Font Effect:" Z
    u"Antialiasing" Z u"Antialiasing:" Z
    u"Text Alignment" Z u"Text Alignment:" Z
    u"Text Padding" Z u"Text Padding:" Z
    u"Text Opacity" Z u"Text Opacity:" Z
    u"Background Opacity" Z u"Background Opacity:" Z
    u"Opacity" Z u"Opacity:" Z
    u"Boundary" Z u"Boundary:" Z
    u"Position" Z u"Position:" Z
    u"X-Offset" Z u"X-Offset:" Z
    u"Y-Offset" Z u"Y-Offset:" Z
    u"Size" Z u"Size:" Z
    u"Scale" Z u"Scale:" Z
    u"Filename Mask" Z u"Filename Mask:" Z
    u"File Timestamp" Z u"File Timestamp:" Z
    u"Custom Timestamp" Z u"Custom Timestamp:" Z
    u"Keep Subfolders" Z u"Keep Subfolders:" Z
    u"Title" Z u"Preferences..." Z
    u"Save window position" Z u"Save Window's Coords:" Z
    u"UI Theme" Z u"Theme:" Z
    u"UI Size" Z u"Icon Size:" Z
    u"Bytes" Z u"bytes" Z
    u"RGB8" Z u"RGB 8-bit" Z
    u"RGB16" Z u"RGB 16-bit" Z
    u"RGB24" Z u"RGB 24-bit" Z
    u"RGB48HS" Z u"RGB 48-bit (HS)" Z
    u"RGB48" Z u"RGB 48-bit" Z
    u"BGRA" Z u"BGR 32-bit" Z
    u"RGBA" Z u"RGB 32-bit" Z
    u"All Frames" Z u"All" Z
    u"First Frame" Z u"First" Z
    u"Middle Frame" Z u"Middle" Z
    u"Last Frame" Z u"Last" Z
    u"Random Frame" Z u"Random" Z
    u"Tone Mapping" Z u"HDR Tone Mapping:" Z
    u"PIZ" Z u"PIZ Wavelet" Z
    u"ZLIB1" Z u"ZLib Level 1" Z
    u"ZLIB6" Z u"ZLib Level 6" Z
    u"ZLIB9" Z u"ZLib Level 9" Z
    u"CCITTFAX3" Z u"CCITT Group 3 Fax" Z
    u"CCITTFAX4" Z u"CCITT Group 4 Fax" Z
    u"PACKBITS" Z u"PackBits" Z
    u"DEFLATE" Z u"Deflate (ZLib)" Z
    u"ADOBEDEFLATE" Z u"Adobe Deflate" Z
    u"LOGLUV" Z u"LogLuv" Z
    u"Simple Rotation" Z u"Simple" Z
    u"Advanced Rotation" Z u"Advanced" Z
    u"Pixels" Z u"pixels" Z
    u"Percent" Z u"percent" Z
    u"Keep Aspect Ratio" Z u"Keep Proportions:" Z
    u"Bspline" Z u"B-Spline" Z
    u"Catmullrom" Z u"Catmull-Rom Spline" Z
    u"Image Flip Horizontal" Z u"Flip Horizontal:" Z
    u"Image Flip Vertical" Z u"Flip Vertical:" Z
    u"Image Gamma" Z u"Gamma Correction:" Z
    u"Image Invert" Z u"Invert Image:" Z
    u"Image Greyscale" Z u"Greyscale Image:" Z
    u"Frame Type" Z u"Frame:" Z
    u"Frame Solid" Z u"Solid Color" Z
    u"Watermark Type" Z u"Watermark:" Z
    u"Watermark Text" Z u"Text" Z
    u"Watermark Image" Z u"Image" Z
    u"Points" Z u"points" Z
    u"Strikeout" Z u"Strikethrough" Z
    u"Align Left" Z u"Left" Z
    u"Align Center" Z u"Center" Z
    u"Align Right" Z u"Right" Z
    u"Bound Image" Z u"Image" Z
    u"Bound Frame" Z u"Frame" Z
    u"Out Folders History" Z u"Output Folders History:" Z
    u"Clean On Exit" Z u"Clean on Exit" Z
    u"Keep Folders" Z u"Keep Recent" Z
    u"Out Folders Number" Z u"Output Folders Number:" Z
    u"Txt" Z u"TXT" Z
    u"Txt Export" Z u"Export to TXT" Z
    u"Csv Export" Z u"Export to CSV" Z
    u"Csv" Z u"CSV" Z
    u"Csv Delimiter" Z u"CSV Delimiter:" Z
    u"Clean Recent Files" Z u"Clean Recent Files List on Exit" Z
    u"_GROUP_" Z u"About" Z
    u"Title" Z u"About..." Z
    u"Version" Z u"Version:" Z
    u"Website" Z u"Web:" Z
    u"Email" Z u"E-mail:" Z
    u"_GROUP_" Z u"Custom-Converter" Z
    u"Title" Z u"Find a File Converter" Z
    u"From" Z u"From:" Z
    u"To" Z u"To:" Z
    u"Search" Z u"Search" Z
    u"_GROUP_" Z u"Uninstall" Z
    u"Title" Z u"Uninstall" Z
    u"Uninstall Text" Z u"Full Uninstall - Visit Uninstall Center" Z
    u"Next" Z u"Next" Z
    u"_END_" Z u"" Z
    ;
// clang-format on
#undef Z

const std::size_t kStringTableDataLength = sizeof(kStringTableData) / sizeof(char16_t);

} // namespace tarvix
