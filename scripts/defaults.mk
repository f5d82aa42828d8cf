# What the top-level Makefile and scripts/windows.mk share: the build folder
# and how many jobs the builds and the test runs use (scripts/run-tests.sh
# and scripts/fuzz.sh read JOBS from the environment).
BUILD ?= build
JOBS  ?= $(shell nproc)
export JOBS
