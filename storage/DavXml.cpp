#include "storage/DavXml.h"
