#pragma once

// Lets interface files name the update classes; KRSparkleWrapper yields its one shared object.
void registerUpdateClasses();
