// The real file system behind the FileSystem seam.
#pragma once
#include "core/file_io.h"

FileSystem& systemFileSystem();
