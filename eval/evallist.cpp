#include "evallist.h"

QList<_evaldata> evallist;
MyThread *t = nullptr;
