#pragma once
// Forward declarations of the framework's classes, to keep includes light.

class TObject;
class TPersistent;
class TComponent;
class TFiler;
class TReader;
class TWriter;
class TStream;
class TMemoryStream;
class TFileStream;
class TIniFile;
class TThread;
class TClassInfo;
struct TPropInfo;
class Exception;
