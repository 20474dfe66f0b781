#include "update/UpdateClasses.h"

#include "kit/appkit/InterfaceFile.h"
#include "update/KRSparkleWrapper.h"

void registerUpdateClasses() {
    kit::ClassRegistry::registerSharedClass<KRSparkleWrapper>("KRSparkleWrapper",
                                                              &KRSparkleWrapper::sharedSparkleWrapper);
}
