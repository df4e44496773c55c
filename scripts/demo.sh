#!/usr/bin/env bash
echo "demo: nothing yet"
