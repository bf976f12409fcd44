#include "files/XFileManager.h"

XFileManager::XFileManager() = default;

XFileManager::~XFileManager() = default;
